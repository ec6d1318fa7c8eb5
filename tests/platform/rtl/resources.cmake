# Resources compiled into the rtl tests (see ResourcesTest.cpp).
vxn_add_resources(test_${label} TEXT
  Greeting ${CMAKE_CURRENT_SOURCE_DIR}/tests/platform/rtl/data/Greeting.txt
  Empty ${CMAKE_CURRENT_SOURCE_DIR}/tests/platform/rtl/data/Empty.txt)
