# tests: net
target_sources(quorvel_testsupport PRIVATE
    support/LoopbackAddress.h
    support/ScriptedTimeServer.h support/ScriptedTimeServer.cpp
    support/XinetdTimeService.h support/XinetdTimeService.cpp
)
quorvel_add_test(tst_nmtime)
quorvel_add_test(tst_timepeers)
