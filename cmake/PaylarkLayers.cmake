# Each layer's target sees the headers of its own folder and, through the targets it links, those
# of the layers below it, and nothing else: the project folder itself is on no include path. A
# layer's view is a folder in the build tree that holds links to its folder's headers under their
# usual names ("store/period.h"), so an #include of a higher layer or of a folder the target does
# not link is not found. tests/layers checks the same direction on the sources.
#
# paylark_layer_headers(<target> <folder>): <folder> relative to the project, e.g. store or print/qt.
function(paylark_layer_headers target folder)
  set(view ${PROJECT_BINARY_DIR}/layers/${target})
  file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  file(REMOVE_RECURSE ${view}/${folder})
  file(MAKE_DIRECTORY ${view}/${folder})
  foreach(header ${headers})
    get_filename_component(name ${header} NAME)
    file(CREATE_LINK ${header} ${view}/${folder}/${name} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${view})
endfunction()
