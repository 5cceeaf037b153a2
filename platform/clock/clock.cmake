target_sources(quorvel_platform PRIVATE
    clock/SystemClock.h clock/SystemClock.cpp
)
if(WIN32)
    target_sources(quorvel_platform PRIVATE
        clock/WindowsClock.h clock/WindowsClock.cpp
    )
    # token queries for HasClockPrivilege()
    target_link_libraries(quorvel_platform PRIVATE advapi32)
else()
    target_sources(quorvel_platform PRIVATE
        clock/PosixClock.h clock/PosixClock.cpp
        clock/TimedateClock.h clock/TimedateClock.cpp
    )
endif()
