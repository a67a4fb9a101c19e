# Shared by the run and test commands: building, the virtual display and
# the Wine environment. Sourced, not run.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build
jobs=$(nproc 2>/dev/null || echo 2)

# Runs the setup step once, then starts the calling script afresh: a shell
# that was running before setup generated the Japanese locale cannot switch
# to it, and warns on every try.
prepare_machine() {
  if [ -z "${QUILL_PREPARED:-}" ]; then
    "$root/tools/setup.sh"
    export QUILL_PREPARED=1
    exec bash "$0" "$@"
  fi
}

# build_tree PRESET [targets...]: configures and builds one of the trees
# named in CMakePresets.json, in build/PRESET.
build_tree() {
  local name=$1; shift
  (cd "$root" && cmake --preset "$name" -Wno-dev >/dev/null)
  if [ $# -gt 0 ]; then
    cmake --build "$build/$name" -j "$jobs" --target "$@"
  else
    cmake --build "$build/$name" -j "$jobs"
  fi
}

xvfb_pid=
# Starts a virtual X display of the given size and exports DISPLAY.
start_virtual_display() { # $1 = WIDTHxHEIGHT
  local n=90
  while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "${1}x24" -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  local tries=0
  until [ -e /tmp/.X11-unix/X$n ]; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ] || ! kill -0 $xvfb_pid 2>/dev/null; then
      echo "could not start a virtual display" >&2
      return 1
    fi
    sleep 0.1
  done
  export DISPLAY=:$n
}

display_usable() {
  [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1
}

# Whether the kernel executes 32-bit x86 programs, found by running the
# smallest one there is (it only exits), so that nothing i386 has to be
# installed to find out: some kernels refuse them outright.
kernel_runs_32() {
  # Set-up's path for the other kind of machine can be tried by saying so.
  case ${QUILL_KERNEL_RUNS_32:-} in
    yes) return 0 ;;
    no) kernel_32_error="QUILL_KERNEL_RUNS_32=no"; return 1 ;;
  esac
  local dir rc=0
  mkdir -p "$build"
  dir=$(mktemp -d "$build/.probe.XXXXXX")
  # An i386 ELF header, one loadable segment, then: xor ebx,ebx; mov eax,1; int 0x80.
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\x31\xdb\xb8\x01\x00\x00\x00\xcd\x80' \
    >"$dir/exit32"
  chmod +x "$dir/exit32"
  kernel_32_error=$( ("$dir/exit32") 2>&1) || rc=$?
  rm -rf "$dir"
  kernel_32_error=${kernel_32_error##*: }
  [ $rc -eq 0 ]
}

# Which Windows builds this machine can run, decided once: the 32-bit one
# where the kernel executes 32-bit programs and the 32-bit Wine is in (set-up
# may have been unable to install it, and says why in the build tree).
# Scripts started from this one inherit the answer instead of asking again.
wine32_loader=/usr/lib/wine/wine
wine64_loader=/usr/lib/wine/wine64
wine_detect() {
  [ -n "${QUILL_WINE_RUNS_32:-}" ] && return 0
  local out rc=0
  if ! kernel_runs_32; then
    export QUILL_WINE_RUNS_32=no
    export QUILL_WINE_NO_32_REASON="this machine cannot execute 32-bit programs (${kernel_32_error:-refused})"
    return 0
  fi
  out=$("$wine32_loader" --version 2>&1) || rc=$?
  if [ $rc -eq 0 ]; then
    export QUILL_WINE_RUNS_32=yes
  else
    export QUILL_WINE_RUNS_32=no
    if [ -s "$build/wine32-unavailable.txt" ]; then
      QUILL_WINE_NO_32_REASON="the 32-bit Wine is not installed: $(head -n1 "$build/wine32-unavailable.txt")"
    else
      QUILL_WINE_NO_32_REASON="the 32-bit Wine does not start (${out##*: })"
    fi
    export QUILL_WINE_NO_32_REASON
  fi
}

# The loader for Wine's tools and for the programs of both builds: where it
# can run, the 32-bit loader hands 64-bit programs on to the 64-bit one.
wine_loader() {
  wine_detect
  if [ "$QUILL_WINE_RUNS_32" = yes ]; then echo "$wine32_loader"; else echo "$wine64_loader"; fi
}

# The build whose programs this machine runs for a person: the 32-bit one
# where it can, else the 64-bit one.
wine_primary_build() {
  wine_detect
  if [ "$QUILL_WINE_RUNS_32" = yes ]; then echo win32; else echo win64; fi
}

# Runs a Windows program, or one of Wine's own tools by name.
wine_run() {
  "$(wine_loader)" "$@"
}

# Wine in the given prefix, Japanese locale (code page 932), no Mono/Gecko.
# The prefix is 64-bit: it runs both builds where the machine can execute
# 32-bit code, and the 64-bit build where it cannot.
wine_environment() { # $1 = prefix folder
  wine_detect
  export WINEPREFIX=$1
  export WINEARCH=win64
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export LC_ALL=ja_JP.UTF-8
  # Programs that Wine starts itself (the desktop, services, a program's
  # children) must come up through the loader that works here.
  if [ "$QUILL_WINE_RUNS_32" = no ]; then export WINELOADER=$wine64_loader; fi
  # One server for the whole run: each program start then costs far less.
  # It answers 2 when a server for the prefix is running already.
  mkdir -p "$WINEPREFIX"
  wineserver -p || [ $? -eq 2 ]
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "preparing Wine in $WINEPREFIX"
    wine_run wineboot -i >/dev/null 2>&1
    # The window font's face, drawn with the Japanese font installed here.
    wine_run reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d IPAPGothic /f \
      >/dev/null 2>&1
    wine_run reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ ゴシック' /d IPAGothic /f \
      >/dev/null 2>&1
  fi
  # Title-bar buttons are drawn with Marlett, which Wine finds only in the
  # prefix's own font folder under a Japanese locale.
  local fonts=$WINEPREFIX/drive_c/windows/Fonts
  if [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  fi
}

# Runs Wine's programs inside a virtual desktop of the given size, which
# draws title bars and menus as a window manager would.
wine_virtual_desktop() { # $1 = WIDTHxHEIGHT
  wine_run reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine_run reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$1" /f >/dev/null 2>&1
  # The desktop is made when the first program starts: start afresh, with
  # Wine's own services detached from our output.
  wineserver -k; wineserver -w
  wineserver -p || [ $? -eq 2 ]
  wine_run wineboot >/dev/null 2>&1
}

# Every Windows program a test runner starts (and every program that one
# starts in turn) carries the runner's process id in its environment. A
# runner killed mid-way (a suite stopped by its time limit, or by hand)
# leaves the programs its test started running: a Quilleteer still in the
# viewer chain and opening the clipboard on every change makes every later
# suite fail. They are ended here: with no argument those whose runner is
# gone, with a runner's id all of that runner's. Wine's own services are
# never touched.
end_leftover_programs() { # [runner pid]
  local environ pid owner
  for environ in $(grep -lsaz '^QUILL_TEST_RUNNER=' /proc/[0-9]*/environ); do
    pid=${environ#/proc/}
    pid=${pid%/environ}
    owner=$(tr '\0' '\n' 2>/dev/null <"$environ" | sed -n 's/^QUILL_TEST_RUNNER=//p') || continue
    [ -n "$owner" ] || continue
    if [ -n "${1:-}" ]; then
      [ "$owner" = "$1" ] || continue
    elif kill -0 "$owner" 2>/dev/null && grep -q wine-exec "/proc/$owner/cmdline" 2>/dev/null; then
      continue
    fi
    # Windows programs only, and not Wine's own (nor a wineserver that a
    # test happened to start).
    case $(tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline") in
      [Cc]:\\windows\\*) continue ;;
      *.exe* | *.EXE*) ;;
      *) continue ;;
    esac
    [ "$pid" = "$$" ] || kill -9 "$pid" 2>/dev/null || true
  done
}

stop_environment() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  xvfb_pid=
}
