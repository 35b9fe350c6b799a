# Shared settings for running the Windows build under Wine. Sourced, not run.
WINE_LOADER=${WINE_LOADER:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono/Gecko installers, no desktop menu entries for the shortcuts we make.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# start_xvfb PIDFILE DISPLAYFILE: a private X server on a free display number.
start_xvfb() {
  local pidfile=$1 displayfile=$2 fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  echo $! >"$pidfile"
  local n
  read -r -t 20 n <"$fifo" || { rm -f "$fifo"; echo "Xvfb did not start" >&2; return 1; }
  rm -f "$fifo"
  echo ":$n" >"$displayfile"
}

# make_prefix DIR: a new Wine prefix set up for unattended runs.
make_prefix() {
  local prefix=$1 reg
  rm -rf "$prefix"
  WINEPREFIX=$prefix timeout 300 "$WINE_LOADER" wineboot -u >/dev/null 2>&1
  WINEPREFIX=$prefix "$WINESERVER" -w
  unlink_home_folders "$prefix"
  reg=$(mktemp --suffix=.reg)
  # A crashing program must end, not open the debugger: winedbg can hang a run.
  cat >"$reg" <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=-
"Auto"="0"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
  WINEPREFIX=$prefix timeout 120 "$WINE_LOADER" regedit /S "$(winepath_of "$reg")" >/dev/null 2>&1
  rm -f "$reg"
  WINEPREFIX=$prefix "$WINESERVER" -w
}

# A new prefix links the user's Desktop, Documents, Downloads, Music, Pictures
# and Videos to the Unix home folders: the shell's desktop and file browser
# create and delete files there, so every prefix gets real folders instead.
unlink_home_folders() {
  local link
  for link in "$1"/drive_c/users/*/{Desktop,Documents,Downloads,Music,Pictures,Videos}; do
    if [ -L "$link" ]; then
      rm -f "$link"
      mkdir -p "$link"
    fi
  done
}

# Wine maps the whole Unix tree to drive Z:.
winepath_of() { printf 'Z:%s' "${1//\//\\}"; }

# copy_prefix TEMPLATE DIR: a scratch copy of a quiescent prefix.
copy_prefix() {
  rm -rf "$2"
  cp -a "$1" "$2"
}

# use_virtual_desktop DIR WxH: programs of the (quiescent) prefix DIR start in a
# Wine virtual desktop of that size, hosted by explorer.exe, with window frames
# drawn by Wine. Written straight into the registry file: regedit would cost a
# Wine start.
use_virtual_desktop() {
  local stamp
  stamp=$(date +%s)
  cat >>"$1/user.reg" <<REG

[Software\\\\Wine\\\\Explorer] $stamp
"Desktop"="Default"

[Software\\\\Wine\\\\Explorer\\\\Desktops] $stamp
"Default"="$2"
REG
}

# use_test_drives DIR: four more drives in the (quiescent) prefix DIR, each a
# folder of the prefix: r: removable, d: CD-ROM, n: network, f: fixed with the
# volume label SYSTEM (and n: the label Share). Wine takes a drive's type from
# HKLM\Software\Wine\Drives and its label from the root's .windows-label.
use_test_drives() {
  local stamp drive
  stamp=$(date +%s)
  mkdir -p "$1"/testdrives/{removable,cdrom,network,fixed}
  echo SYSTEM >"$1/testdrives/fixed/.windows-label"
  echo Share >"$1/testdrives/network/.windows-label"
  for drive in r:removable d:cdrom n:network f:fixed; do
    ln -sfn "../testdrives/${drive#*:}" "$1/dosdevices/${drive%%:*}:"
  done
  cat >>"$1/system.reg" <<REG

[Software\\\\Wine\\\\Drives] $stamp
"d:"="cdrom"
"f:"="hd"
"n:"="network"
"r:"="floppy"
REG
}

# add_quick_launch_notepad PREFIX: a Notepad shortcut in the user's Quick
# Launch folder, so that a new prefix has a program to start from the taskbar.
# Made by Wine's own script host (its shell object writes shortcuts).
add_quick_launch_notepad() {
  local folder js
  folder="$1/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Internet Explorer/Quick Launch"
  [ -f "$folder/Notepad.lnk" ] && return 0
  mkdir -p "$folder"
  js=$(mktemp --suffix=.js)
  cat >"$js" <<'JS'
var shell = WScript.CreateObject("WScript.Shell");
// One expansion of the whole path: Wine's result carries its closing NUL, so
// text appended to it would be cut off.
var link = shell.CreateShortcut(shell.ExpandEnvironmentStrings(
    "%APPDATA%\\Microsoft\\Internet Explorer\\Quick Launch\\Notepad.lnk"));
link.TargetPath = "C:\\windows\\notepad.exe";
link.Save();
JS
  WINEPREFIX=$1 timeout 60 "$WINE_LOADER" cscript //nologo "$(winepath_of "$js")" >/dev/null 2>&1 || true
  rm -f "$js"
}

end_prefix() {
  [ -d "$1" ] || return 0
  WINEPREFIX=$1 "$WINESERVER" -k >/dev/null 2>&1 || true
  WINEPREFIX=$1 timeout 20 "$WINESERVER" -w >/dev/null 2>&1 || true
}
