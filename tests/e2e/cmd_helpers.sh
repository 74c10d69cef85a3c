# Typing in cmd under Wine, for the scripts that test commands in terminals.
# Sourced after $out (a work folder) and wine_run (Wine with a time limit)
# are set.

# cmd_run COMMAND_LINE_WORDS...: through a new cmd /c in $out; stdout in
# $out/stdout (and without CRs in $out/stdout.txt), stderr in $out/stderr,
# exit code in $rc.
cmd_run() {
  (cd "$out" && wine_run cmd /c "$@" >"$out/stdout" 2>"$out/stderr")
  rc=$?
  tr -d '\r' <"$out/stdout" >"$out/stdout.txt"
}
# Wine hands Linux only the low 8 bits of an exit code: cmd says the whole
# code, after the command, in the last line of its output.
cmd_exit_code() {
  (cd "$out" && wine_run cmd /v:on /c "$1 & echo exit=!errorlevel!" >"$out/stdout" 2>"$out/stderr")
  tr -d '\r' <"$out/stdout" | sed -n 's/^exit=//p' | tail -1
}
# The value of a Windows environment variable as a new cmd sees it.
windows_folder() { wine_run cmd /c "echo %$1%" 2>/dev/null | tr -d '\r\n' | sed 's/ *$//'; }
