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
endfunction()

# The system's Japanese texts are UTF-8 in the source and code page 932 in
# the program. Only the files that hold them are converted.
function(kalvorin_cp932_sources)
  set_source_files_properties(${ARGN} PROPERTIES COMPILE_OPTIONS "-fexec-charset=CP932")
endfunction()
