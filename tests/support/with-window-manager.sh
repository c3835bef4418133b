#!/usr/bin/env bash
# Runs one test program on a private X server (Xvfb) with a real window
# manager (openbox), for what only a real window system shows: frames, outer
# sizes, stacking, focus, shaping limits.
#
# Where Xvfb or openbox is missing, or the server does not come up, the test
# still runs, with FSB_NO_WINDOW_MANAGER set to the reason, and skips its
# cases with that message instead of passing silently or failing.
set -u

run_without() {
  export FSB_NO_WINDOW_MANAGER="$1"
  export QT_QPA_PLATFORM=offscreen
  shift
  exec "$@"
}

command -v Xvfb >/dev/null 2>&1 ||
  run_without "Xvfb is not installed (scripts/setup.sh installs it)" "$@"
command -v openbox >/dev/null 2>&1 ||
  run_without "openbox is not installed (scripts/setup.sh installs it)" "$@"
command -v xprop >/dev/null 2>&1 ||
  run_without "xprop is not installed (package x11-utils; scripts/setup.sh installs it)" "$@"

work=$(mktemp -d)
xvfb_pid=""
wm_pid=""
cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# The server picks a free display number itself and tells it through a file
# descriptor, so parallel tests never fight over one.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
for _ in $(seq 100); do
  display=$(tr -d '\n' <"$work/display" 2>/dev/null)
  [ -n "$display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.05
done
if [ -z "$display" ]; then
  trap - EXIT
  cleanup
  run_without "Xvfb did not start: $(tail -n 3 "$work/xvfb.log" 2>/dev/null)" "$@"
fi
export DISPLAY=":$display"

# A configuration of our own: nothing in the user's openbox set-up (if any)
# changes placement or focus under the tests.
mkdir -p "$work/config/openbox"
cat >"$work/config/openbox/rc.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy></placement>
  <desktops><number>1</number></desktops>
</openbox_config>
EOF
# The window manager is ready once it announces itself on the root window.
# On a busy machine openbox now and then gives up at once ("failed to open
# the display") on a server that has just come up; it is started again then.
ready=""
for _attempt in 1 2 3; do
  XDG_CONFIG_HOME="$work/config" openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm_pid=$!
  for _ in $(seq 200); do
    if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
      ready=yes
      break
    fi
    kill -0 "$wm_pid" 2>/dev/null || break
    sleep 0.05
  done
  [ -n "$ready" ] && break
  kill "$wm_pid" 2>/dev/null
  wait "$wm_pid" 2>/dev/null
  sleep 0.5
done
export QT_QPA_PLATFORM=xcb
if [ -z "$ready" ]; then
  export FSB_NO_WINDOW_MANAGER="openbox did not start: $(tail -n 3 "$work/openbox.log" 2>/dev/null)"
  export QT_QPA_PLATFORM=offscreen
fi

"$@"
exit $?
