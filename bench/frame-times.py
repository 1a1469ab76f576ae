#!/usr/bin/env python3
"""Times the frames a running Relayeur sends a serial panel, with and without slow values.

    frame-times.py RELAYEUR SECONDS RUNS

Relayeur runs with --terminal, a serial panel (TypeLCD 2) on a pseudo-terminal this script reads,
and a 20x4 page refreshed every 50 ms. The serial panel is sent every line on every refresh, so
each refresh is one burst of bytes; the time between the starts of two bursts is a frame time.
Two setups, each run RUNS times for SECONDS after a 3 s settle:
  plain  the page shows the time only;
  slow   the page also shows %%val() of a command that hangs until its 10 s limit ends it, a
         command run every second, a FIFO that nobody ever writes, and %%mqtt() of a broker that
         takes the connection and never answers.
For each setup: frames seen, then the median, 99th percentile and longest frame time of each run,
with min/median/max over the runs, and how many frames took more than twice the refresh.
"""
import os, pty, select, signal, socket, statistics, subprocess, sys, tempfile, termios, time, tty

REFRESH_MS = 50


def settings(folder, device, slow, broker_port):
    text = f"""[parametres]
TypeLCD=2
COM=1
C=20
L=4
contrast=50
backlight=1
refresh={REFRESH_MS}
scrolling=1
rep_winamp=
rep_seti=
rep_HL=
[ports]
COM1={device}
"""
    if slow:
        fifo = os.path.join(folder, "fifo")
        os.mkfifo(fifo)
        text += f"""[valeurs]
lente=commande:sleep 600|1
rapide=commande:date +%S.%N|1
fifo=fichier:{fifo}|1
[mqtt]
serveur=127.0.0.1:{broker_port}
"""
    with open(os.path.join(folder, "param.ini"), "w") as f:
        f.write(text)
    lines = ["%%time", "%%val(rapide)", "%%val(lente)%%val(fifo)", "%%mqtt(maison/t)"] if slow \
        else ["%%time", "", "", ""]
    page = "".join(f"ligne{i}={t}\nscroll{i}=0\n" for i, t in enumerate(lines))
    profile = os.path.join(folder, "page.tlcd")
    with open(profile, "w") as f:
        f.write(f"[param]\nnb_pages=1\nplein=#\nvide=-\n[page_1]\n{page}time=30\nnext=1\n")
    return profile


def run(relayeur, seconds, slow):
    with tempfile.TemporaryDirectory(prefix="relayeur-frames.") as folder:
        # A broker that takes the connection into its backlog and never says a word.
        silent = socket.socket()
        silent.bind(("127.0.0.1", 0))
        silent.listen(1)
        master, slave = pty.openpty()
        tty.setraw(master)
        profile = settings(folder, os.ttyname(slave), slow, silent.getsockname()[1])
        env = dict(os.environ, XDG_RUNTIME_DIR=folder, QT_QPA_PLATFORM="offscreen")
        program = subprocess.Popen(
            [relayeur, "--terminal", "--quiet", "--config-dir", folder, "--profile", profile,
             "--start"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        starts = []
        last = None
        begin = time.monotonic()
        try:
            while True:
                now = time.monotonic()
                if now - begin > seconds + 3:
                    break
                ready, _, _ = select.select([master], [], [], 0.5)
                if not ready:
                    continue
                os.read(master, 65536)
                now = time.monotonic()
                # A burst starts after a silence longer than any pause within one frame.
                if last is None or now - last > 0.015:
                    if now - begin > 3:
                        starts.append(now)
                last = now
        finally:
            program.send_signal(signal.SIGTERM)
            try:
                program.wait(10)
            except subprocess.TimeoutExpired:
                program.kill()
            os.close(master)
            os.close(slave)
            silent.close()
        gaps = [1000 * (b - a) for a, b in zip(starts, starts[1:])]
        return gaps


def main():
    relayeur, seconds, runs = sys.argv[1], float(sys.argv[2]), int(sys.argv[3])
    print(f"refresh {REFRESH_MS} ms, {seconds:.0f} s a run, {runs} runs")
    print("| setup | frames | median ms | p99 ms | longest ms | over 2x refresh |")
    print("|---|---|---|---|---|---|")
    for slow in (False, True):
        results = [run(relayeur, seconds, slow) for _ in range(runs)]

        def spread(values, fmt="{:.1f}"):
            return " / ".join(fmt.format(v) for v in (min(values), statistics.median(values),
                                                       max(values)))
        frames = [len(g) + 1 for g in results]
        medians = [statistics.median(g) for g in results]
        p99 = [sorted(g)[int(0.99 * (len(g) - 1))] for g in results]
        longest = [max(g) for g in results]
        late = [sum(1 for x in g if x > 2 * REFRESH_MS) for g in results]
        print(f"| {'slow' if slow else 'plain'} | {spread(frames, '{:.0f}')} | {spread(medians)} "
              f"| {spread(p99)} | {spread(longest)} | {spread(late, '{:.0f}')} |")


if __name__ == "__main__":
    main()
