# The image's first boot, its disk kept: finishes what the chroot could not
# run (the scripts of 32-bit packages) and makes the one Wine prefix that every
# run uses, with Wine's services that only slow a cold start switched off.
set -e
export HOME=/root WINEPREFIX=/opt/varolen/prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
dpkg --configure -a || true
glib-compile-schemas /usr/share/glib-2.0/schemas 2>/dev/null || true
for tool in /usr/lib/i386-linux-gnu/glib-2.0/gio-querymodules /usr/lib/x86_64-linux-gnu/glib-2.0/gio-querymodules; do
  [ -x "$tool" ] && "$tool" "$(dirname "$tool")/../gio/modules" 2>/dev/null || true
done
rm -rf "$WINEPREFIX"
wine wineboot -i
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
for service in Eventlog NDIS nsiproxy wineusb winebus PlugPlay; do
  wine reg add "HKLM\\System\\CurrentControlSet\\Services\\$service" /v Start /t REG_DWORD /d 4 /f
done
wineserver -w
test -f "$WINEPREFIX/system.reg"
echo prepared
