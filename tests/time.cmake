# tests: time
