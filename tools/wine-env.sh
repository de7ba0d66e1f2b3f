# Sourced by run.sh and test.sh: the project's own Wine prefix and virtual
# display. Not the user's ~/.wine.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${CVN_WINEPREFIX:-$root/build/wine-prefix}"
export WINEARCH=win64
# Never open the Mono or Gecko installers on a headless machine.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG="${WINEDEBUG:--all}"

# Every Windows program, Wine's own tools included, starts through Wine's
# 64-bit loader (tools/wine64), never through Debian's wrapper: that one
# takes the 32-bit loader whenever wine32 is installed, which on a host
# that refuses 32-bit programs cannot start at all. A 32-bit program is
# still handed to the 32-bit loader by Wine itself.
wine() { "$root/tools/wine64" "$@"; }
wineboot() { wine wineboot "$@"; }
winepath() { wine winepath "$@"; }

# Which build runs here: the shipped 32-bit one where this host runs 32-bit
# programs natively, else its x64 twin. Sets cvn_preset and cvn_build.
cvn_choose_build() {
  if [ "$("$root/tools/host32.sh")" = native ]; then
    cvn_preset=mingw-i686 cvn_build="$root/build"
  else
    cvn_preset=mingw-x86_64 cvn_build="$root/build64"
  fi
}

cvn_xvfb_pid=""

# Starts a virtual display when there is none, on the first free number.
cvn_start_display() {
  if [ -n "${DISPLAY:-}" ] && [ -z "${CVN_FORCE_XVFB:-}" ]; then
    return 0
  fi
  local n
  for n in $(seq 91 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
      cvn_xvfb_pid=$!
      export DISPLAY=":$n"
      local i
      for i in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        sleep 0.1
      done
      echo "wine-env: Xvfb did not come up on :$n" >&2
      return 1
    fi
  done
  echo "wine-env: no free display number" >&2
  return 1
}

cvn_stop_display() {
  if [ -n "$cvn_xvfb_pid" ]; then
    kill "$cvn_xvfb_pid" 2>/dev/null || true
    wait "$cvn_xvfb_pid" 2>/dev/null || true
    cvn_xvfb_pid=""
  fi
}

# Creates the prefix once, and keeps one wineserver for the whole run.
cvn_start_wine() {
  mkdir -p "$WINEPREFIX"
  if [ ! -f "$WINEPREFIX/.cvn-ready" ]; then
    echo "wine-env: preparing the Wine prefix $WINEPREFIX (about 20 s, once)"
    wineboot --init </dev/null >/dev/null 2>&1
    # Without a window manager Wine would wait about 2 s for one each time
    # a dialog is hidden.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    # Let the server write the registry out and end before it is made
    # persistent below.
    wineserver -w
    touch "$WINEPREFIX/.cvn-ready"
  fi
  cvn_prepare_drives
  wineserver -p </dev/null >/dev/null 2>&1
  # Start Wine's background services now, detached from our output: started
  # by the first test instead, they would inherit CTest's output pipes and
  # keep CTest waiting for them to close.
  wine cmd.exe /c exit 0 </dev/null >/dev/null 2>&1 || true
}

cvn_stop_wine() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

# Drive types: Wine's mount manager reads them, with the drive letters
# linked under dosdevices/, only when the server starts, and only from the
# 64-bit registry view (a plain 'wine reg add' in a 64-bit prefix writes the
# 32-bit one, where they are ignored). Q: is the device's CD-ROM drive. The
# tests' drives: N: a network drive, J: a folder and K: a folder inside it
# (so a file reached through J:\k is named K:\ by its final path).
cvn_test_drives="$WINEPREFIX/cvn-drives"
cvn_prepare_drives() {
  mkdir -p "$cvn_test_drives/n" "$cvn_test_drives/k"
  ln -sfn "$cvn_test_drives/n" "$WINEPREFIX/dosdevices/n:"
  ln -sfn "$cvn_test_drives" "$WINEPREFIX/dosdevices/j:"
  ln -sfn "$cvn_test_drives/k" "$WINEPREFIX/dosdevices/k:"
  if [ ! -f "$WINEPREFIX/.cvn-drives" ]; then
    wine reg add 'HKLM\Software\Wine\Drives' /v q: /d cdrom /f /reg:64 </dev/null >/dev/null 2>&1
    wine reg add 'HKLM\Software\Wine\Drives' /v n: /d network /f /reg:64 </dev/null >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.cvn-drives"
  fi
}

# The device profile a script works with (cvn_use_profile), and one value
# of it: cvn_profile_value SECTION.KEY.
cvn_profile_value() { /usr/bin/python3 "$root/tools/profile.py" --value "$cvn_profile" "$1"; }
cvn_use_profile() {  # profile folder
  cvn_profile=$(realpath "$1")
  cvn_profile_name=$(basename "$cvn_profile")
  # The suite's uninstall record, in the 32-bit view where its installer writes.
  cvn_uninstall_key="HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\\$(cvn_profile_value suite.uninstall_key)"
}
cvn_use_profile "$root/profiles/default"

# A profile's own disc, built with preset $1's toolchain in
# $cvn_build/profile-NAME (the default profile's is the preset's own).
# Sets cvn_disc_build.
cvn_build_profile_disc() {  # preset-build-dir toolchain targets...
  local build=$1 toolchain=$2
  shift 2
  if [ "$cvn_profile_name" = default ] && [ "$cvn_profile" = "$(realpath "$root/profiles/default")" ]; then
    cvn_disc_build=$build
    return 0
  fi
  cvn_disc_build="$build/profile-$cvn_profile_name"
  cmake -S "$root" -B "$cvn_disc_build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCVN_PROFILE="$cvn_profile" -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$cvn_disc_build" --target "$@"
}

cvn_set_install_location() {  # unix folder
  wine reg add "$cvn_uninstall_key" /v InstallLocation /d "$(winepath -w "$1")" /f /reg:32 >/dev/null 2>&1
}

cvn_clear_install_location() {
  wine reg delete "$cvn_uninstall_key" /f /reg:32 >/dev/null 2>&1 || true
}

# The device's disc for a demo or a check: an image unpacked into a folder
# and mapped as CD-ROM drive Q:.
cvn_drive="$WINEPREFIX/dosdevices/q:"
cvn_map_disc() {  # iso folder
  xorriso -osirrox on -indev "$1" -extract / "$2" >/dev/null 2>&1
  ln -sfn "$2" "$cvn_drive"
  # A drive linked while the server runs is a fixed disk until it restarts.
  cvn_stop_wine
  cvn_start_wine
}

# What such a run leaves: the drive, the uninstall record, Wine, the display.
cvn_end_run() {
  rm -f "$cvn_drive"
  cvn_clear_install_location
  cvn_stop_wine
  cvn_stop_display
}
