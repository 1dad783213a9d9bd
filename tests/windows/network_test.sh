#!/usr/bin/env bash
# portprobe-cli.exe under Wine on a port on the network, through Winsock: Debian's
# ser2net serves a pseudo-terminal on the loopback address with RFC 2217. The monitor
# opens rfc2217://127.0.0.1:PORT at 115200 baud, which must reach the pseudo-terminal,
# and answers a Modbus request by a rule; 0xFF bytes travel doubled and arrive single.
#   network_test.sh WINDOWS_CLI   (with $WINEPREFIX prepared)
set -euo pipefail
cli=$(realpath "$1")
: "${WINEPREFIX:?needs the prefix of scripts/windows/wine-prefix.sh}"
export WINEDEBUG=-all

exec python3 - "$cli" <<'PY'
import os, select, signal, socket, subprocess, sys, tempfile, termios, time, tty

cli = sys.argv[1]
work = tempfile.mkdtemp()
master, slave = os.openpty()
tty.setraw(master)
device = os.ttyname(slave)
with socket.socket() as probe:
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
with open(f"{work}/ser2net.yaml", "w") as config:
    config.write(f"connection: &dev\n  accepter: telnet(rfc2217),tcp,127.0.0.1,{port}\n"
                 f"  connector: serialdev,{device},9600n81,local\n")
with open(f"{work}/rules.txt", "w") as rules:
    rules.write("01 03 00 00 00 03 ?? ?? -> 01 03 06 FF EA 01 90 00 01 +crc16-modbus\n")
server = subprocess.Popen(["/usr/sbin/ser2net", "-n", "-c", f"{work}/ser2net.yaml", "-P", f"{work}/pid"])
monitor = None

def fail(why):
    print("network:", why)
    sys.exit(1)

try:
    deadline = time.monotonic() + 10
    while True:
        try:
            socket.create_connection(("127.0.0.1", port), timeout=1).close()
            break
        except OSError:
            if time.monotonic() > deadline:
                fail("ser2net did not start")
            time.sleep(0.1)
    url = f"rfc2217://127.0.0.1:{port}"
    monitor = subprocess.Popen(["timeout", "-k", "5", "120", "wine", cli, "monitor", "--port", url,
                                "--baud", "115200", "--rules", f"{work}/rules.txt"],
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    opened = monitor.stderr.readline().decode().strip()
    if opened != f"portprobe-cli monitor: {url} OPENED,115200,N,8,1 (Ctrl-C ends)":
        fail(f"the monitor said {opened!r}")
    deadline = time.monotonic() + 10
    while termios.tcgetattr(master)[4] != termios.B115200:
        if time.monotonic() > deadline:
            fail("the rate did not reach the pseudo-terminal")
        time.sleep(0.05)
    os.write(master, bytes.fromhex("01 03 00 00 00 03 05 CB"))
    got, deadline = b"", time.monotonic() + 10
    while len(got) < 11 and time.monotonic() < deadline:
        if select.select([master], [], [], 0.5)[0]:
            got += os.read(master, 64)
    expected = bytes.fromhex("01 03 06 FF EA 01 90 00 01")
    if got[:9] != expected or len(got) != 11:
        fail(f"the reply was {got.hex(' ')!r}")
    print("network: the rate and the reply crossed ser2net:", got.hex(" "))
finally:
    if monitor:
        monitor.kill()
    server.send_signal(signal.SIGTERM)
    server.wait()
PY
