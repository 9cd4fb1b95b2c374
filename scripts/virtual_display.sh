# Sourced by the scripts that run windows without a screen (the Windows editor's tests under
# wine): tx_start_virtual_display starts Xvfb on the first free display number, exports DISPLAY
# and sets TX_XVFB_PID; tx_stop_virtual_display ends it.

tx_start_virtual_display() {
  local display_file
  display_file="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
  TX_XVFB_PID=$!
  for _ in $(seq 100); do
    [[ -s "$display_file" ]] && break
    sleep 0.1
  done
  if [[ ! -s "$display_file" ]]; then
    rm -f "$display_file"
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$(tr -d '[:space:]' <"$display_file")"
  rm -f "$display_file"
}

tx_stop_virtual_display() {
  if [[ -n "${TX_XVFB_PID:-}" ]]; then
    kill "$TX_XVFB_PID" 2>/dev/null || true
    TX_XVFB_PID=""
  fi
}
