// AddressSanitizer's defaults for the fuzz targets; ASAN_OPTIONS still overrides them.
// Its quarantine keeps freed blocks unused to catch later uses, 256 MB of them by default,
// which a million runs fill up whatever each run frees: the process would then stay at
// 300 MB and more. One run frees at most a few megabytes (the picture targets stop after
// the header of larger pictures), so a smaller quarantine still spans several runs.
extern "C" const char* __asan_default_options() {
  return "quarantine_size_mb=16";
}
