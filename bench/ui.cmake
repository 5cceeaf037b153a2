# benchmarks: ui
