// Which instruction-set path the pixel kernels run on. The program is a generic
// x86-64 build (SSE2 baseline), so newer instructions are used only after asking the
// processor at run time; every path gives bit-identical results to the portable one.
#pragma once

namespace imaging {

enum class KernelPath { Portable, Sse2, Ssse3, Avx2 };

// True when this processor (and its operating system) can run `path`.
[[nodiscard]] bool IsKernelPathSupported(KernelPath path);

// The path the kernels take now: the forced one, else the best the processor supports.
[[nodiscard]] KernelPath ActiveKernelPath();

// The one override, for tests and benches: every later kernel call in the process takes
// `path`. Refused (false, nothing changed) when the processor cannot run it.
[[nodiscard]] bool ForceKernelPath(KernelPath path);

// Back to choosing the best supported path.
void ResetKernelPath();

[[nodiscard]] const char* KernelPathName(KernelPath path);

} // namespace imaging
