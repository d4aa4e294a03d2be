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
for tool in xdotool xwininfo xdpyinfo import identify; do
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
why=
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# forget PID: the process has ended; its number may soon belong to another, so no signal for it.
forget() {
  local i
  for i in "${!pids[@]}"; do
    [ "${pids[i]}" != "$1" ] || unset 'pids[i]'
  done
}

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# wait_for_x: waits until the server answers a client, at most the timeout.
wait_for_x() {
  local i
  for ((i = 0; i < timeout_s * 10; i++)); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# Xvfb picks a free display itself and writes its number when it is ready for clients.
# -noreset: otherwise it resets whenever its last client leaves, dropping whoever is just then
# connecting, and between two programs (or two xdotool calls) here there is often no client at all.
start_x() {
  local attempt i xpid
  for ((attempt = 1; attempt <= 3; attempt++)); do
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" \
      >"$work/xvfb.log" 2>&1 &
    xpid=$!
    pids+=("$xpid")
    for ((i = 0; i < timeout_s * 10; i++)); do
      if [ -s "$work/display" ]; then
        export DISPLAY=:$(tr -d '[:space:]' <"$work/display")
        wait_for_x && return 0
        break
      fi
      kill -0 "$xpid" 2>/dev/null || break
      sleep 0.1
    done
    echo "Xvfb (attempt $attempt) did not come up to answer clients:"; cat "$work/xvfb.log"
    kill "$xpid" 2>/dev/null
    wait "$xpid" 2>/dev/null
    forget "$xpid"
  done
  echo "FAIL: Xvfb did not start"
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

# launch PROGRAM FOLDER WORD: starts the program in FOLDER and finds its window, the caption
# starting with WORD; sets $pid and $win, or $why when there is none. A start that could not reach
# the X server is made again, at most twice; any other end before the window is for the caller.
launch() {
  local prog=$1 dir=$2 attempt status
  for ((attempt = 1; ; attempt++)); do
    start "$prog" "$dir"
    win=$(find_window "$3" "$pid") && return 0
    if kill -0 "$pid" 2>/dev/null; then
      why="none within ${timeout_s}s"
      return 1
    fi
    wait "$pid" 2>/dev/null
    status=$?
    forget "$pid"
    why="the program ended with status $status"
    if ((attempt < 3)) && grep -q 'could not connect to display' "$dir/$prog.log"; then
      echo "retry: $prog could not connect to $DISPLAY (attempt $attempt); starting it again"
      mv "$dir/$prog.log" "$dir/$prog.log.$attempt"
      wait_for_x || return 1
      continue
    fi
    return 1
  done
}

# screenshot WIN SHOT LOG: takes SHOT of the window and sets $colours to its number of colours,
# looking again until the first paint has reached the server (more than one colour), at most the
# timeout. Fails (and leaves import's complaint in LOG) when no screenshot could be taken at all.
screenshot() {
  local end=$((SECONDS + timeout_s)) taken=1
  colours=0
  sleep 0.5  # the first paint usually reaches the server within this
  while :; do
    if import -window "$1" "png:$2" 2>"$3"; then
      taken=0
      colours=$(identify -format '%k' "$2")
      [ "${colours:-0}" -gt 1 ] && return 0
    fi
    ((SECONDS < end)) || return "$taken"
    sleep 0.25
  done
}

# stop PID: ends the program and waits for it to go, at most a few seconds.
stop() {
  [[ " ${pids[*]} " == *" $1 "* ]] || return 0  # ended and forgotten already
  kill "$1" 2>/dev/null
  local i
  for ((i = 0; i < 50; i++)); do
    if ! kill -0 "$1" 2>/dev/null; then
      forget "$1"
      return 0
    fi
    sleep 0.1
  done
  kill -9 "$1" 2>/dev/null
  fail "process $1 did not end on SIGTERM"
}

# check_window PROGRAM CAPTION OUTER_WIDTH OUTER_HEIGHT
check_window() {
  local prog=$1 caption=$2 width=$3 height=$4 win
  if ! launch "$prog" "$work/$prog" "${caption%% *}"; then
    fail "$prog: no window ($why)"; cat "$work/$prog/$prog.log"
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

  local colours
  if screenshot "$win" "$work/$prog.png" "$work/$prog/import.log"; then
    [ "${colours:-0}" -gt 1 ] || fail "$prog: the screenshot has ${colours:-no} colour(s)"
  else
    fail "$prog: no screenshot"; cat "$work/$prog/import.log"
  fi
  stop "$pid"
  echo "ok: $prog window ${WIDTH}x${HEIGHT}, screenshot ${colours:-?} colours"
}

# pCorvalen by hand: order 40 typed into Edit1, "design coef." clicked; k-su.efc must say order 38.
drive_design() {
  local dir="$work/drive" win colours
  if ! launch pCorvalen "$dir" Corvalen; then
    fail "pCorvalen (driven): no window ($why)"; cat "$dir/pCorvalen.log"
    stop "$pid"
    return
  fi
  # Events go in once the program has painted, so it is surely running its event loop.
  screenshot "$win" "$work/drive.png" "$dir/import.log"
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
