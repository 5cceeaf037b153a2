# benchmarks: net
quorvel_add_bench(bench_query LIBS quorvel_testsupport)
