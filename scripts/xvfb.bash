# Sourced: an X display for Wine's windows. start_display starts an Xvfb of our own on a
# free display number (Xvfb picks it: -displayfd), so that runs beside other users' never
# collide, and sets DISPLAY; it does nothing when DISPLAY is already set. stop_display
# ends the Xvfb it started. without_window_manager tells a Wine prefix that no window
# manager runs there.
start_display() {
  xvfb_pid=""
  [ -n "${DISPLAY:-}" ] && return 0
  local fifo number
  fifo=$(mktemp -u /tmp/plotgate-xvfb.XXXXXX)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 10 number <"$fifo"
  rm -f "$fifo"
  export DISPLAY=":$number"
}
stop_display() {
  if [ -n "${xvfb_pid:-}" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    unset DISPLAY
  fi
  xvfb_pid=""
}

# without_window_manager WINE: the prefix's windows unmanaged. Xvfb runs no window manager,
# and Wine waits two seconds for one on every window it hides (a dialog's end, a message
# box dismissed) unless told that none manages its windows.
without_window_manager() {
  "$1" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
}
