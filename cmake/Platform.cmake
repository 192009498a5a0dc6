# LIFE_WINDOWS: building the Windows programs (mingw-w64 cross build).
if(WIN32)
  set(LIFE_WINDOWS ON)
  # Static C and C++ runtimes: the programs need no DLL beyond the system's.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX STRICT
                          _WIN32_WINNT=0x0501 WINVER=0x0501)
else()
  set(LIFE_WINDOWS OFF)
endif()

# No folder of the build machine in the programs: file names that reach them
# (assertions, debugging information) are relative to the source tree and
# the build folder, so that any folder builds the same bytes. The more
# specific build folder comes last, as the last map given is tried first.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
                    -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)

# Native programs land in build/<preset>/bin.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# A Windows GUI program: subsystem windows, static runtime.
function(life_gui_program target)
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
endfunction()
