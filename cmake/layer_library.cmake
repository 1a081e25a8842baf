# Each folder of the core is a library of its own, and its headers are
# reachable only through it: the library's include root is a folder in the
# build tree that holds nothing but a link to its own source folder. A file
# that includes a header of a layer its library is not linked to (directly
# or through a PUBLIC link) therefore fails to build, so the layers can only
# be used the way they are linked:
#   cli, window -> command -> codegen/classic, codegen/fast -> codegen/output, plan
function(kalvorin_layer_library name folder)
  add_library(${name} STATIC ${ARGN})
  set(root ${CMAKE_BINARY_DIR}/layers/${name})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if(NOT EXISTS ${root}/${folder})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${name} PUBLIC ${root})
  set_property(DIRECTORY PROPERTY kalvorin_library ${name})
endfunction()

# The system's Japanese texts are UTF-8 in the source and code page 932 in
# the program. Only the files that hold them are converted.
function(kalvorin_cp932_sources)
  if(NOT KALVORIN_FUZZ)
    set_source_files_properties(${ARGN} PROPERTIES COMPILE_OPTIONS "-fexec-charset=CP932")
    return()
  endif()
  # clang has no code page 932 execution character set. These files are
  # constant tables and nothing else, so in the fuzzing build g++ compiles
  # them, uninstrumented, and their objects take their place in the library.
  find_program(KALVORIN_GXX NAMES g++ REQUIRED)
  get_property(library DIRECTORY PROPERTY kalvorin_library)
  foreach(src ${ARGN})
    set(obj ${CMAKE_CURRENT_BINARY_DIR}/cp932_${src}.o)
    add_custom_command(OUTPUT ${obj}
      COMMAND ${KALVORIN_GXX} -std=c++17 -O1 -fexec-charset=CP932 -I${PROJECT_SOURCE_DIR}
              -c ${CMAKE_CURRENT_SOURCE_DIR}/${src} -o ${obj}
      DEPENDS ${src} VERBATIM)
    set_source_files_properties(${src} PROPERTIES HEADER_FILE_ONLY ON)
    target_sources(${library} PRIVATE ${obj})
  endforeach()
endfunction()
