# The programs' version, from project() alone: a generated header for the
# code and the resource scripts, the version resource VersionInfo.rc beside
# it (both through life_version), and the programs' manifests
# (life_program_manifest).
configure_file(${CMAKE_CURRENT_LIST_DIR}/LifeVersion.h.in
               ${CMAKE_BINARY_DIR}/generated/LifeVersion.h @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/VersionInfo.rc.in
               ${CMAKE_BINARY_DIR}/generated/VersionInfo.rc @ONLY)
add_library(life_version INTERFACE)
target_include_directories(life_version INTERFACE ${CMAKE_BINARY_DIR}/generated)

# Writes the manifest of one program as `output` in the current binary
# folder, where its resource script finds it. `level` is the execution level
# it asks for (asInvoker, requireAdministrator).
function(life_program_manifest output name description level)
  set(LIFE_MANIFEST_NAME ${name})
  set(LIFE_MANIFEST_DESCRIPTION ${description})
  set(LIFE_MANIFEST_LEVEL ${level})
  set(LIFE_MANIFEST_VERSION
      ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/program.manifest.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${output} @ONLY)
endfunction()
