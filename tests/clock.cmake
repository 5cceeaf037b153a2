# tests: clock
# The clock tests need a dbus-daemon and Linux capabilities.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    target_sources(quorvel_testsupport PRIVATE
        support/TimedateStandIn.h support/TimedateStandIn.cpp
    )
    quorvel_add_test(tst_clock)
endif()
