# The real setup.exe driven under Wine. A stand-in rundll32.exe in the
# system directory records the hand-over command line; another one, planted
# beside setup.exe in each scratch folder, must never run.
add_executable(setup_fake_rundll32 FakeRundll32.cpp)
life_gui_program(setup_fake_rundll32)
set_target_properties(setup_fake_rundll32 PROPERTIES
  OUTPUT_NAME rundll32
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/setup-doubles)
target_link_libraries(setup_fake_rundll32 PRIVATE life_warnings)

life_unit_test(setup_end_to_end_tests SetupEndToEndTest.cpp SetupRemovalEndToEndTest.cpp
               SetupDriver.cpp)
target_link_libraries(setup_end_to_end_tests PRIVATE winsupport life_version)
add_dependencies(setup_end_to_end_tests setup setup_fake_rundll32)
# One test installs the shipped data files from the source tree.
target_compile_definitions(setup_end_to_end_tests PRIVATE LIFE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
