# The Windows programs, the window kalvorin.exe and the console program
# kalvorin-cli.exe, and the driver of the GUI test, for a MinGW-w64 cross
# build. Everything is linked statically so that each program is one
# self-contained file.
enable_language(RC)

set(KALVORIN_ICON_RC ${CMAKE_CURRENT_BINARY_DIR}/kalvorin_icon.rc)
add_custom_command(
  OUTPUT ${KALVORIN_ICON_RC}
  COMMAND ${CMAKE_COMMAND}
          -DOUTPUT=${KALVORIN_ICON_RC}
          -DIDS_HEADER=${CMAKE_CURRENT_SOURCE_DIR}/window/resource_ids.h
          -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/make_icon.cmake
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/cmake/make_icon.cmake
          ${CMAKE_CURRENT_SOURCE_DIR}/window/resource_ids.h
  COMMENT "Drawing the program icon"
  VERBATIM)

add_executable(kalvorin WIN32 window/main_window.cpp ${KALVORIN_ICON_RC})
target_link_libraries(kalvorin PRIVATE kalvorin_command)
set_source_files_properties(window/main_window.cpp PROPERTIES COMPILE_OPTIONS "-fexec-charset=CP932")
target_link_options(kalvorin PRIVATE -static -static-libgcc -static-libstdc++)
set_target_properties(kalvorin PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The command-line program, console subsystem. kalvorin.exe is taken by the
# window, so this one is kalvorin-cli.exe.
add_executable(kalvorin-cli cli/cli_main.cpp)
target_link_libraries(kalvorin-cli PRIVATE kalvorin_terminal)
target_link_options(kalvorin-cli PRIVATE -static -static-libgcc -static-libstdc++)
set_target_properties(kalvorin-cli PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

option(KALVORIN_GUI_DRIVER "Build the driver of the GUI test (run under Wine)" ON)
if(KALVORIN_GUI_DRIVER)
  # The texts of the boxes are compared with the program's own messages.
  add_executable(gui_driver tests/wine/gui_driver.cpp command/messages.cpp)
  # The messages are built here again, so they need the code page here too:
  # a source file's properties belong to the folder that sets them.
  set_source_files_properties(tests/wine/gui_driver.cpp command/messages.cpp
                              PROPERTIES COMPILE_OPTIONS "-fexec-charset=CP932")
  target_include_directories(gui_driver PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(gui_driver PRIVATE gdi32)
  target_link_options(gui_driver PRIVATE -static -static-libgcc -static-libstdc++)
  set_target_properties(gui_driver PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endif()

install(TARGETS kalvorin kalvorin-cli RUNTIME DESTINATION .)
