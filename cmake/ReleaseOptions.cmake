# How the shipped program is compiled and linked. Every source of hushgate.exe
# gets the compile options (the tier compiles nothing else that ships), and the
# benchmarks' baselines get both, so their ratios compare code, not flags.

# Small code, unused functions and data dropped at link time, and no build
# path in the exe: two builds of a commit are identical. Nothing asks a type
# at run time, and the program has one thread, so neither type records nor
# guarded statics are needed.
set(HUSHGATE_RELEASE_COMPILE_OPTIONS
  -Os -ffunction-sections -fdata-sections -fno-rtti -fno-threadsafe-statics
  -ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
)

# Static, stripped, and marked for Windows XP (NT 5.1); no time stamp, so the
# same sources give the same bytes.
set(HUSHGATE_RELEASE_LINK_OPTIONS
  -static -s -Wl,--gc-sections
  -Wl,--major-subsystem-version,5,--minor-subsystem-version,1
  -Wl,--major-os-version,5,--minor-os-version,1
  -Wl,--no-insert-timestamp
)

function(hushgate_link_like_release target)
  target_link_options(${target} PRIVATE ${HUSHGATE_RELEASE_LINK_OPTIONS})
endfunction()
