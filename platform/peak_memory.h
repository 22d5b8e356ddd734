#pragma once

namespace vidorun {

// The process's peak resident memory so far, in kB (Linux: VmHWM; Windows:
// the peak working set); 0 where the system can't tell. For the start-up
// probe of the benchmarks.
long peakResidentKb();

}  // namespace vidorun
