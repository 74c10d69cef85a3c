# How Velmora.exe carries the library's exports, so that another program can
# load the executable and call them.
#
#   velmora_exe_exports(target)
#
# The library's objects are compiled with dllexport (VELMORA_BUILDING), so
# linking all of them into the executable (whole archive) puts every
# exported function into its export table under its C++ name. What this adds
# is what a program that loads the executable needs, since the executable's
# start-up code never runs then:
#   - a preferred base address of its own, away from the 0x400000 that every
#     executable asks for, so the loader need not move it (Wine does not
#     rebase an executable's data when it moves one);
#   - no runtime pseudo-relocations: they are applied by the start-up code,
#     so the link fails instead if anything would depend on one;
#   - a fixed base (no address randomisation), for the same reason as the
#     first point.
set(VELMORA_EXE_IMAGE_BASE 0x26000000 CACHE STRING "Preferred load address of Velmora.exe")

function(velmora_exe_exports target)
  if(NOT WIN32)
    return()
  endif()
  target_link_options(${target} PRIVATE
    -Wl,--image-base,${VELMORA_EXE_IMAGE_BASE}
    -Wl,--disable-dynamicbase
    -Wl,--disable-runtime-pseudo-reloc)
endfunction()
