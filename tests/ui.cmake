# tests: ui
