# The set-up tests' checks, sourced by each: check NAME COMMAND... counts a
# pass or a failure and, on a failure, shows what the step printed ($t/out);
# says TEXT tells whether that output holds TEXT.
passed=0
failed=0
check() {  # NAME COMMAND...
  local name="$1"
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: $name"
    sed 's/^/    | /' "$t/out"
  fi
}
says() { grep -q -e "$1" "$t/out"; }
