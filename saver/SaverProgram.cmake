# The saver program life.scr: the host, the saver window procedure, the
# dialogs, the settings store, the engine and the saver's resources.
if(LIFE_WINDOWS)
  # The saver window procedure and the hooks the host calls, as objects of
  # the program (like the dialogs) so that the host library finds them; the
  # end-to-end tests build a saver of their own from them too.
  add_library(saver_window OBJECT
    ${CMAKE_CURRENT_LIST_DIR}/SaverWindowProc.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OutOfMemory.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PrepareDialogClasses.cpp)
  target_link_libraries(saver_window PUBLIC saver_store scene_worlds host_contract
                                     PRIVATE life_warnings)

  add_executable(life_scr ${CMAKE_CURRENT_LIST_DIR}/life.rc)
  target_link_libraries(life_scr PRIVATE host_entry host saver_window saver_dialogs saver_store
                                         scene_worlds life_version life_warnings)
  # The icon and the manifest are found through the resource compiler's
  # include path.
  life_program_manifest(life.manifest Vantreel.Life.Saver "The Game of Life" asInvoker)
  set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/life.rc APPEND PROPERTY
               INCLUDE_DIRECTORIES ${PROJECT_SOURCE_DIR}/assets ${CMAKE_CURRENT_BINARY_DIR})
  set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/life.rc APPEND PROPERTY
               OBJECT_DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/life.manifest)
  life_gui_program(life_scr)
  set_target_properties(life_scr PROPERTIES
    OUTPUT_NAME life SUFFIX .scr
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endif()
