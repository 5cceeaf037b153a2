# tests: clock
