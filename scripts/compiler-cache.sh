# Sourced by the build scripts: the cmake options that put the compiler cache (ccache) in front
# of the compilers when it is installed, in compiler_cache; none without it. Paths are hashed
# relative to the tree, so a fresh clone anywhere reuses what an earlier one compiled.
compiler_cache=()
if command -v ccache >/dev/null 2>&1; then
  compiler_cache=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  CCACHE_BASEDIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  export CCACHE_BASEDIR CCACHE_NOHASHDIR=1
fi
