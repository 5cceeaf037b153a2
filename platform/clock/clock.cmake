target_sources(quorvel_platform PRIVATE
    clock/SystemClock.h clock/SystemClock.cpp
)
if(WIN32)
    target_sources(quorvel_platform PRIVATE
        clock/WindowsClock.h clock/WindowsClock.cpp
    )
else()
    target_sources(quorvel_platform PRIVATE
        clock/PosixClock.h clock/PosixClock.cpp
        clock/TimedateClock.h clock/TimedateClock.cpp
    )
    target_link_libraries(quorvel_platform PUBLIC Qt6::DBus)
endif()
