set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Job files depend on every coordinate being computed in IEEE double precision and then
# truncated toward zero. Left to itself, the i686 compiler does double arithmetic on the x87
# unit with 64-bit mantissas, and a result that lies just below a whole number in double
# lands just above it in extended precision: the release would write points one unit away
# from the 64-bit and Linux builds. SSE2 computes in true doubles; every processor that runs
# a supported Windows has it.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

# A 32-bit program gets 2 GB of address space unless it says it can take more; marked
# large-address-aware it gets 4 GB on 64-bit Windows (3 GB on 32-bit Windows booted for it),
# so a large job with its cut order fits where it would run out of memory at 2 GB.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wl,--large-address-aware")

# The release is tested as it ships, under 32-bit Wine.
find_program(WINE32 NAMES wine PATHS /usr/lib/wine)
if(WINE32)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE32})
endif()
