# benchmarks: form
