# tests: net
