#!/usr/bin/env bash
# The four programs in a real X server: each window appears with its caption and size, shows more
# than one colour, and closes; pCorvalen designs from real key and mouse events.
# Usage: windows_test.sh BIN_DIR. Exits 77 (skipped) when there is no Xvfb to run them on.
set -uo pipefail

bin=$(cd "${1:?usage: windows_test.sh BIN_DIR}" && pwd)

if ! command -v Xvfb >/dev/null; then
  echo "SKIP: Xvfb not installed"
  exit 77
fi
for tool in xdotool xwininfo import identify; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool not installed (./suite setup installs it)"
    exit 77
  fi
done

# The layouts give the outer size, frame included. Without a window manager an X window has no
# frame, and the Qt desktop keeps its estimate of a classic frame: 4 pixels on each side and a
# 19-pixel caption bar, 8 x 27 in all, taken off the outer size.
frame_w=8
frame_h=27
timeout_s=30

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Xvfb picks a free display itself and writes its number when it is ready for clients.
start_x() {
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  local i
  for ((i = 0; i < timeout_s * 10; i++)); do
    if [ -s "$work/display" ]; then
      export DISPLAY=:$(tr -d '[:space:]' <"$work/display")
      return 0
    fi
    sleep 0.1
  done
  echo "FAIL: Xvfb did not start"; cat "$work/xvfb.log"
  exit 1
}

# find_window WORD PID: the visible top-level window whose caption starts with WORD; gives up at
# once when the program PID has ended.
find_window() {
  local i win
  for ((i = 0; i < timeout_s * 5; i++)); do
    kill -0 "$2" 2>/dev/null || return 1
    win=$(xdotool search --onlyvisible --name "^$1" 2>/dev/null | head -n 1)
    if [ -n "$win" ]; then
      echo "$win"
      return 0
    fi
    sleep 0.2
  done
  return 1
}

# start PROGRAM FOLDER: starts the program in FOLDER; sets $pid.
start() {
  mkdir -p "$2"
  (cd "$2" && exec env QT_QPA_PLATFORM=xcb "$bin/$1" >"$2/$1.log" 2>&1) &
  pid=$!
  pids+=("$pid")
}

# stop PID: ends the program and waits for it to go, at most a few seconds.
stop() {
  kill "$1" 2>/dev/null
  local i
  for ((i = 0; i < 50; i++)); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  kill -9 "$1" 2>/dev/null
  fail "process $1 did not end on SIGTERM"
}

# check_window PROGRAM CAPTION OUTER_WIDTH OUTER_HEIGHT
check_window() {
  local prog=$1 caption=$2 width=$3 height=$4 win
  start "$prog" "$work/$prog"
  if ! win=$(find_window "${caption%% *}" "$pid"); then
    fail "$prog: no window (the program ended, or took over ${timeout_s}s)"; cat "$work/$prog/$prog.log"
    stop "$pid"
    return
  fi
  local name
  name=$(xdotool getwindowname "$win")
  [ "$name" = "$caption" ] || fail "$prog: caption '$name', expected '$caption'"

  local WIDTH HEIGHT X Y SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$win")"
  if [ "$WIDTH" -ne $((width - frame_w)) ] || [ "$HEIGHT" -ne $((height - frame_h)) ]; then
    fail "$prog: window ${WIDTH}x${HEIGHT}, expected $((width - frame_w))x$((height - frame_h))" \
         "(outer ${width}x${height} less the frame)"
  fi

  sleep 0.5  # let the first paint reach the server
  local shot="$work/$prog.png" colours
  if import -window "$win" "png:$shot" 2>"$work/$prog/import.log"; then
    colours=$(identify -format '%k' "$shot")
    [ "${colours:-0}" -gt 1 ] || fail "$prog: the screenshot has ${colours:-no} colour(s)"
  else
    fail "$prog: no screenshot"; cat "$work/$prog/import.log"
  fi
  stop "$pid"
  echo "ok: $prog window ${WIDTH}x${HEIGHT}, screenshot ${colours:-?} colours"
}

# pCorvalen by hand: order 40 typed into Edit1, "design coef." clicked; k-su.efc must say order 38.
drive_design() {
  local dir="$work/drive" win
  start pCorvalen "$dir"
  if ! win=$(find_window Corvalen "$pid"); then
    fail "pCorvalen (driven): no window (the program ended, or took over ${timeout_s}s)"; cat "$dir/pCorvalen.log"
    return
  fi
  sleep 0.5
  xdotool windowfocus --sync "$win"
  xdotool mousemove --window "$win" $((776 + 65 / 2)) $((104 + 20 / 2)) click 1  # Edit1, the order
  xdotool key ctrl+a
  xdotool type --delay 50 40
  xdotool mousemove --window "$win" $((768 + 75 / 2)) $((304 + 25 / 2)) click 1  # Button1
  local i
  for ((i = 0; i < timeout_s * 5; i++)); do
    if grep -aq $'^order : 38\r$' "$dir/k-su.efc" 2>/dev/null; then
      grep -aq $'^coefNum : 20\r$' "$dir/k-su.efc" || fail "pCorvalen (driven): coefNum is not 20"
      [ -s "$dir/monitor.txt" ] || fail "pCorvalen (driven): no monitor.txt"
      stop "$pid"
      echo "ok: pCorvalen driven by key and mouse events wrote order 38"
      return
    fi
    sleep 0.2
  done
  fail "pCorvalen (driven): no k-su.efc with 'order : 38' within ${timeout_s}s"
  [ -f "$dir/k-su.efc" ] && head -n 5 "$dir/k-su.efc"
  stop "$pid"
}

start_x
check_window pCorvalen "Corvalen  ナイキストフィルタ係数設計ツール　（偶数次零位相ＦＩＲフィルタ専用）" 886 631
check_window pMirsadel "Mirsadel  リプル特性表示ツール" 725 682
check_window pTobrenth "Tobrenth  フィルタ係数変換ツール　(偶数次零位相ＦＩＲフィルタ専用）" 786 657
check_window pQuisdale "Quisdale  コンバータ　（偶数次零位相ＦＩＲフィルタ専用）" 403 116
drive_design

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all windows ok"
