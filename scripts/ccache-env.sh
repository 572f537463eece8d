# Sourced by test.sh, run.sh and .ci/run: ccache keys compiled files on paths relative to
# the clone and ignores the working folder, so another clone or build folder on the same
# machine reuses its cache (kept in ccache's own folder, ~/.cache/ccache by default).
# The sloppiness lets precompiled headers be cached. Values set by the caller stay.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
export CCACHE_SLOPPINESS="${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}"
