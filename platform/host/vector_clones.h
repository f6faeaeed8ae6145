#pragma once
// The pixel loops are built twice: for any x86-64 and for processors with AVX2, the version chosen
// once when the program starts. The resolver that picks a clone runs before ThreadSanitizer's runtime
// is ready, so the race-checking build keeps the one portable version. So does clang (the fuzz build
// only), which refuses clones of a function called before its definition.
#if defined(__SANITIZE_THREAD__) || !defined(__x86_64__) || defined(__clang__)
#define PIXEL_CLONES
#else
#define PIXEL_CLONES __attribute__((target_clones("avx2", "default")))
#endif
