# The folders whose headers this folder includes.
vxn_uses(platform/rtl platform/win platform/forms)

# The grid's cursors are resources of the program, loaded by name.
vxn_add_resources(vxn_${label} CURSOR
  EXCEL ${CMAKE_CURRENT_SOURCE_DIR}/resources/cursors/Excel.cur
  ZOOMIN ${CMAKE_CURRENT_SOURCE_DIR}/resources/cursors/ZoomIn.cur
  ZOOMOUT ${CMAKE_CURRENT_SOURCE_DIR}/resources/cursors/ZoomOut.cur)
