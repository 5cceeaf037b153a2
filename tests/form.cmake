# tests: form
