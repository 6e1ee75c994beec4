# Flags shared by every target. Results must be bit-identical to the plain
# sequential arithmetic of the algorithms, so no contraction into fused
# multiply-adds and no fast-math.
add_compile_options(-ffp-contract=off -fno-fast-math)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra -Wshadow -Wformat=2 -Wno-format-nonliteral)
endif()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
set(CMAKE_CXX_VISIBILITY_PRESET hidden)
set(CMAKE_VISIBILITY_INLINES_HIDDEN ON)
