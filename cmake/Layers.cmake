# Each layer is a library of its own, linked as its dependencies run. Its include folder
# shows only its own source folder (a symbolic link under build/layers), so a layer that
# includes a header of one it does not link fails to build.
set(PS_LAYER_VIEWS ${CMAKE_BINARY_DIR}/layers)

# ps_layer_view(TARGET FOLDER OUT): OUT is the include folder that shows FOLDER alone.
function(ps_layer_view target folder out)
  set(view ${PS_LAYER_VIEWS}/${target})
  set(link ${view}/${folder})
  if(NOT IS_SYMLINK ${link})
    get_filename_component(parent ${link} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${link} RESULT failed SYMBOLIC)
    if(failed)
      # Windows without the right to make symbolic links: the build still works, only the
      # layers are no longer checked.
      message(STATUS "${target}: no symbolic link (${failed}); includes across layers unchecked")
      set(view ${CMAKE_SOURCE_DIR})
    endif()
  endif()
  set(${out} ${view} PARENT_SCOPE)
endfunction()

# ps_layer(TARGET FOLDER SOURCES file... DEPS target...): sources relative to FOLDER.
function(ps_layer target folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "SOURCES;DEPS")
  list(TRANSFORM arg_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/${folder}/)
  add_library(${target} STATIC ${arg_SOURCES})
  target_compile_options(${target} PRIVATE ${PS_WARNINGS})
  ps_layer_view(${target} ${folder} view)
  target_include_directories(${target} PUBLIC ${view})
  target_link_libraries(${target} PUBLIC ${arg_DEPS})
endfunction()
