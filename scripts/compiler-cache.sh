# Sourced by the build scripts: the cmake options that put the compiler cache (ccache) in front
# of the compilers when it is installed, in compiler_cache; none without it.
compiler_cache=()
if command -v ccache >/dev/null 2>&1; then
  compiler_cache=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
