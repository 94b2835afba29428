# Hundreds of controllers answering one search, on one segment and behind four PC
# interfaces (LUMARO_SCALE_SEARCHES searches per case, 3 by default).
add_executable(scale_wire_tests scale_wire_tests.cpp)
target_link_libraries(scale_wire_tests PRIVATE lumaro_link lumaro_test_lan GTest::gtest_main)
lumaro_lab_test(scale_on_one_segment TARGET scale_wire_tests
    LAB --pc 0:10.1.0.1/16 --neighbours 8192 ARGS --gtest_filter=ScaleOnOneSegment.*)
lumaro_lab_test(scale_behind_four_interfaces TARGET scale_wire_tests
    LAB --segments 4 --pc 0:10.1.0.1/16 --pc 1:10.2.0.1/16 --pc 2:10.3.0.1/16 --pc 3:10.4.0.1/16
    ARGS --gtest_filter=ScaleBehindFourInterfaces.*)
