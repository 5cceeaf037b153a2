# tests: time
quorvel_add_test(tst_datetime)
quorvel_add_test(tst_servertime)
