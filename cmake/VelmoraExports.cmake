# How Velmora.exe carries the library's exports, so that another program can
# load the executable and call them.
#   velmora_exe_exports(target)
function(velmora_exe_exports target)
endfunction()
