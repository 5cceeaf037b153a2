# benchmarks: net
