# Sourced by test.sh --ci and .ci/run: how the sanitizer build's tests and fuzz targets
# report. A leak or undefined behaviour stops the run with a full stack.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/.ci/lsan.supp:print_suppressions=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
