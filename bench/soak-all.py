#!/usr/bin/env python3
"""Relayeur under everything at once, for a long run: see bench/soak.sh --all.

    soak-all.py BUILD SECONDS CSV

One Relayeur, in its window (xvfb-run, or Qt's offscreen platform), drives a serial panel on a
pseudo-terminal this script reads (refresh 50 ms: each refresh is one burst of bytes, so the time
between the starts of two bursts is a frame time). The window draws a panel only for TypeLCD=1,
and one copy drives one panel: the serial panel is the one driven, the window shows the log and
the controls beside it. Around it, all at once:
  - 20 LCDd clients (a child process: its threads must not hold up the frame timing) that
    connect, update a screen and leave in a loop; four of them stop reading their answers and
    flood until the program cuts them off;
  - relayeur-send every 200 ms, some messages held, one in 25 left aside on purpose (dwData 9,
    after a pause of 1.1 s so that the log, which tells at most 5 messages a second, names it);
  - a mosquitto broker on loopback, stopped and started again every SOAK_BROKER_PERIOD s, with a
    value (%%mqtt) every second and a line message every 2 s published by mosquitto_pub;
  - a [valeurs] command that sleeps 30 s one run in four, past its 10 s limit (%%val);
  - the serial device removed and made again at the same path every SOAK_DEVICE_PERIOD s;
  - relayeur-sensors killed (SIGKILL) and started again every SOAK_SENSORS_PERIOD s.
Every minute one row of figures; at the end PASS or FAIL with the reasons (exit 0 or 1).
"""
import json, os, pty, random, re, select, shutil, signal, socket, statistics, subprocess, sys
import tempfile, threading, time, tty

REFRESH_MS = 50
SAMPLE_S = 5
BURST_SILENCE_S = 0.015
MACHINE = "soak"
NON_READERS = 4


def env_int(name, default):
    return int(os.environ.get(name, default))


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Events:
    """Timestamped counts, read per minute and in total."""

    def __init__(self):
        self.lock = threading.Lock()
        self.items = []

    def add(self, kind, value=1):
        with self.lock:
            self.items.append((time.monotonic(), kind, value))

    def between(self, kind, a, b):
        with self.lock:
            return sum(v for t, k, v in self.items if k == kind and a <= t < b)

    def times(self, kind):
        with self.lock:
            return [t for t, k, _ in self.items if k == kind]

    def total(self, kind):
        return self.between(kind, 0, float("inf"))


class Panel(threading.Thread):
    """Reads the serial panel's pseudo-terminal; takes the device away and back now and then."""

    def __init__(self, link, period, away_s, stop):
        super().__init__(daemon=True)
        self.link, self.period, self.away_s, self.stop = link, period, away_s, stop
        self.until = float("inf")  # no absence begins after it
        self.lock = threading.Lock()
        self.frames = []    # (start, gap in ms or None, gap spans an absence)
        self.absences = []  # (taken away, first frame after it)
        self.master = self.slave = None
        self.open_device()

    def open_device(self):
        self.master, self.slave = pty.openpty()
        tty.setraw(self.master)
        tmp = self.link + ".new"
        os.symlink(os.ttyname(self.slave), tmp)
        os.replace(tmp, self.link)

    def run(self):
        # The bursts are timed as they are read: the reader must not wait behind the load.
        try:
            os.setpriority(os.PRIO_PROCESS, threading.get_native_id(), -10)
        except OSError:
            pass
        last = None
        start = None
        next_away = time.monotonic() + self.period
        away_since = None
        while not self.stop.is_set():
            now = time.monotonic()
            if away_since is None and next_away <= now < self.until:
                os.unlink(self.link)
                os.close(self.master)
                os.close(self.slave)
                self.master = None
                away_since = now
                with self.lock:
                    self.absences.append([now, None])
            if self.master is None:
                if now - away_since >= self.away_s:
                    self.open_device()
                    next_away = away_since + self.period
                else:
                    time.sleep(0.05)
                    continue
            ready, _, _ = select.select([self.master], [], [], 0.2)
            if not ready:
                continue
            try:
                os.read(self.master, 65536)
            except OSError:
                continue
            now = time.monotonic()
            if last is None or now - last > BURST_SILENCE_S:
                with self.lock:
                    spans = away_since is not None
                    if spans:
                        self.absences[-1][1] = now
                        away_since = None
                    gap = None if start is None else 1000 * (now - start)
                    self.frames.append((now, gap, spans))
                start = now
            last = now
        if self.master is not None:
            os.close(self.master)
            os.close(self.slave)

    def minute(self, a, b):
        """Frames in [a, b) and the longest gap ending there that does not span an absence."""
        with self.lock:
            inside = [f for f in self.frames if a <= f[0] < b]
        gaps = [g for _, g, spans in inside if g is not None and not spans]
        away = [g for _, g, spans in inside if g is not None and spans]
        return len(inside), max(gaps, default=0.0), away


class Program:
    """Relayeur's output, kept in a file, each line timestamped as it comes."""

    def __init__(self, args, env, log_path):
        self.process = subprocess.Popen(args, env=env, stdout=subprocess.PIPE,
                                        stderr=subprocess.STDOUT, start_new_session=True)
        self.lines = []
        self.lock = threading.Lock()
        self.log = open(log_path, "w", encoding="utf-8")
        self.reader = threading.Thread(target=self.read, daemon=True)
        self.reader.start()

    def read(self):
        for raw in self.process.stdout:
            line = raw.decode("utf-8", "replace").rstrip("\n")
            with self.lock:
                self.lines.append((time.monotonic(), line))
            self.log.write(line + "\n")
            self.log.flush()

    def matching(self, pattern, a=0, b=float("inf")):
        with self.lock:
            return [(t, m) for t, line in self.lines if a <= t < b
                    for m in [re.search(pattern, line)] if m]

    def pid(self):
        """The program itself: xvfb-run's child (relayeur becomes relayeur-window)."""
        if os.path.basename(self.process.args[0]).startswith("relayeur"):
            return self.process.pid
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open(f"/proc/{entry}/stat") as f:
                    stat = f.read()
            except OSError:
                continue
            name = stat[stat.index("(") + 1:stat.rindex(")")]
            fields = stat[stat.rindex(")") + 2:].split()
            if int(fields[1]) == self.process.pid and name.startswith("relayeur"):
                return int(entry)
        return None


def periodic(stop, period, action, until):
    """Runs action on a grid of period seconds from now, up to the time until."""
    def loop():
        due = time.monotonic() + period
        while due < until and not stop.wait(max(0.0, due - time.monotonic())):
            action()
            due += period
    thread = threading.Thread(target=loop, daemon=True)
    thread.start()
    return thread


class Broker:
    def __init__(self, folder, port, events):
        self.config = os.path.join(folder, "mosquitto.conf")
        with open(self.config, "w") as f:
            f.write(f"listener {port} 127.0.0.1\nallow_anonymous true\npersistence false\n")
        self.log = open(os.path.join(folder, "mosquitto.log"), "w")
        self.events = events
        self.process = None
        self.start()

    def start(self):
        self.process = subprocess.Popen(["mosquitto", "-c", self.config], stdout=self.log,
                                        stderr=subprocess.STDOUT)
        self.events.add("broker up")

    def stop(self):
        if self.process:
            self.process.terminate()
            self.process.wait(10)
            self.process = None
            self.events.add("broker down")

    def restart(self, down_s, stop):
        self.stop()
        if not stop.wait(down_s):
            self.start()


class Sensors:
    def __init__(self, program, folder, events):
        self.program, self.events = program, events
        self.log = open(os.path.join(folder, "sensors.log"), "w")
        self.process = None
        self.start()

    def start(self):
        self.process = subprocess.Popen([self.program], stdout=self.log, stderr=subprocess.STDOUT)
        self.events.add("sensors started")

    def restart(self):
        self.process.kill()
        self.process.wait()
        self.events.add("sensors killed")
        self.start()

    def end(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(10)
        return self.process.returncode


def sender(send, stop, events):
    """relayeur-send every 200 ms: fixed, scrolling, held and bargraph lines; one in 25 refused."""
    texts = [("Message %%time", 0), ("Un message trop long pour l'afficheur, aller-retour", 1),
             ("Vers la gauche, encore un message trop long pour vingt colonnes", 2),
             ("0 100 {bar} Message", 4), ("Valeur %%val(lente)", 0), ("", 0)]
    i = 0
    due = time.monotonic()
    while not stop.is_set():
        i += 1
        args = [send]
        if i % 25 == 0:
            # Alone in its second of the log, so that the log line gives its reason.
            if stop.wait(1.1):
                break
            args += ["--dwdata", "9"]
        elif i % 7 == 0:
            args += ["--hold", "3"]
        text, mode = texts[i % len(texts)]
        args += [text.replace("{bar}", str(i % 101)), str(mode), str(i % 4)]
        rc = subprocess.run(args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode
        events.add("send sent")
        events.add({0: "send taken", 3: "send refused"}.get(rc, f"send rc {rc}"))
        due = max(due + 0.2, time.monotonic())
        stop.wait(max(0.0, due - time.monotonic()))


def publisher(port, stop, events):
    """A value every second, a line message every 2 s, one in 20 of them refused (line 7)."""
    base = ["mosquitto_pub", "-h", "127.0.0.1", "-p", str(port), "-q", "0"]
    i = 0
    due = time.monotonic()
    while not stop.is_set():
        i += 1
        pub = [("soak/valeur", str(i), "value")]
        if i % 2 == 0:
            n = i // 2
            if n % 20 == 0:
                pub.append((f"relayeur/{MACHINE}/ligne/7", "Hors panneau", "line bad"))
            elif n % 3 == 0:
                pub.append((f"relayeur/{MACHINE}/ligne/{n % 4}",
                            json.dumps({"texte": f"MQTT {n}", "mode": 2, "hold": 2}), "line"))
            else:
                pub.append((f"relayeur/{MACHINE}/ligne/{n % 4}", f"MQTT {n}", "line"))
        for topic, payload, kind in pub:
            rc = subprocess.run(base + ["-t", topic, "-m", payload], stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, timeout=10).returncode
            events.add(f"mqtt {kind} " + ("published" if rc == 0 else "failed"))
        due = max(due + 1.0, time.monotonic())
        stop.wait(max(0.0, due - time.monotonic()))


def lcdd_clients(host, port, count, stats_path, seconds):
    """The crowd of LCDd clients (run as a process of its own); counts into stats_path."""
    lock = threading.Lock()
    stats = {"made": 0, "served": 0, "refused": 0, "cut": 0, "cut_reader": 0, "huh": 0, "left": 0}
    stop = threading.Event()

    def count_up(key):
        with lock:
            stats[key] += 1

    def answer(answers):
        """The answer to the last command; listen and ignore lines come in between."""
        while True:
            line = answers.readline()
            if not line:
                raise ConnectionResetError
            if not line.startswith((b"listen", b"ignore")):
                return line

    def client(k):
        rng = random.Random(k)
        flooder = k < NON_READERS
        while not stop.is_set():
            count_up("made")
            lcd = socket.socket()
            if flooder:
                # Set before connecting, so that the window it announces stays small.
                lcd.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
            lcd.settimeout(5)
            try:
                lcd.connect((host, port))
            except OSError:
                lcd.close()
                count_up("refused")
                stop.wait(1)
                continue
            try:
                answers = lcd.makefile("rb")
                lcd.sendall(b"hello\n")
                if not answer(answers).startswith(b"connect"):
                    count_up("refused")
                    continue
                count_up("served")
                setup = [f"client_set -name soak{k}", "screen_add s",
                         "screen_set s -priority foreground -duration 8",
                         "widget_add s w string"]
                for command in setup:
                    lcd.sendall((command + "\n").encode())
                    if answer(answers).startswith(b"huh?"):
                        count_up("huh")
                life = time.monotonic() + (120 if flooder else rng.uniform(5, 20))
                n = 0
                while time.monotonic() < life and not stop.is_set():
                    n += 1
                    if flooder and n > 8:
                        # It stops reading and sends 50 updates every 50 ms, until the program
                        # cuts it off.
                        lcd.sendall(b"".join(f'widget_set s w 1 1 "soak{k} {n}.{j}"\n'.encode()
                                             for j in range(50)))
                        stop.wait(0.05)
                        continue
                    lcd.sendall(f'widget_set s w 1 1 "soak{k} {n}"\n'.encode())
                    if answer(answers).startswith(b"huh?"):
                        count_up("huh")
                    stop.wait(0.125)
                # Leaves as a client should: no more commands, then what is left to read.
                lcd.shutdown(socket.SHUT_WR)
                while lcd.recv(4096):
                    pass
                count_up("left")
            except OSError:
                count_up("cut")
                if not flooder:
                    count_up("cut_reader")
            finally:
                lcd.close()
            stop.wait(rng.uniform(0.2, 2.0))

    threads = [threading.Thread(target=client, args=(k,), daemon=True) for k in range(count)]
    for t in threads:
        t.start()
    end = time.monotonic() + seconds
    signal.signal(signal.SIGTERM, lambda *_: stop.set())
    while not stop.wait(1.0) and time.monotonic() < end:
        with lock:
            text = json.dumps(stats)
        with open(stats_path + ".new", "w") as f:
            f.write(text)
        os.replace(stats_path + ".new", stats_path)
    stop.set()
    for t in threads:
        t.join(10)
    with open(stats_path, "w") as f:
        f.write(json.dumps(stats))


def read_stats(path):
    try:
        with open(path) as f:
            return json.load(f)
    except (OSError, ValueError):
        return {}


def process_figures(pid, lcdd_port):
    """RSS KiB, descriptors, descriptors other than LCDd client connections, threads, CPU s."""
    with open(f"/proc/{pid}/status") as f:
        status = dict(line.split(":", 1) for line in f if ":" in line)
    rss = int(status["VmRSS"].split()[0])
    threads = int(status["Threads"])
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    cpu = (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
    targets = []
    for fd in os.listdir(f"/proc/{pid}/fd"):
        try:
            targets.append(os.readlink(f"/proc/{pid}/fd/{fd}"))
        except OSError:
            pass
    clients = set()
    for table in ("tcp", "tcp6"):
        try:
            with open(f"/proc/{pid}/net/{table}") as f:
                next(f)
                for row in f:
                    cols = row.split()
                    if int(cols[1].rsplit(":", 1)[1], 16) == lcdd_port and cols[3] != "0A":
                        clients.add(cols[9])
        except OSError:
            pass
    mine = sum(1 for t in targets if t.startswith("socket:[") and t[8:-1] in clients)
    return rss, len(targets), len(targets) - mine, threads, cpu


SANITIZER = re.compile(r"(ERROR: (Address|Leak|Undefined|Thread)Sanitizer|runtime error:|"
                       r"SUMMARY: \w+Sanitizer)")


def write_settings(folder, link, lcdd_port, mqtt_port, value_script):
    with open(os.path.join(folder, "param.ini"), "w") as f:
        f.write(f"""[parametres]
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
capteurs=0
[ports]
COM1={link}
[serveur]
LCDd=127.0.0.1:{lcdd_port}
[valeurs]
lente=commande:sh {value_script}|3
[mqtt]
serveur=127.0.0.1:{mqtt_port}
machine={MACHINE}
""")
    pages = [
        ["Aller-retour : un texte bien trop long pour vingt colonnes",
         "Vers la gauche : un autre texte trop long, sans fin", "Valeur %%val(lente)",
         "0 100 42 Charge"],
        ["%%big_time", "", "", ""],
        ["%%date %%time", "MQTT %%mqtt(soak/valeur)", "Temp %%temp1 Ventil %%fan1",
         "Vers la droite : un troisieme texte pour le dernier mode"],
    ]
    scrolls = [[1, 2, 0, 4], [0, 0, 0, 0], [0, 0, 0, 3]]
    text = f"[param]\nnb_pages={len(pages)}\nplein=#\nvide=-\n"
    for p, lines in enumerate(pages, 1):
        text += f"[page_{p}]\n"
        text += "".join(f"ligne{i}={t}\nscroll{i}={scrolls[p - 1][i]}\n"
                        for i, t in enumerate(lines))
        text += f"time=1\nnext={p % len(pages) + 1}\n"
    profile = os.path.join(folder, "soak.tlcd")
    with open(profile, "w") as f:
        f.write(text)
    return profile


def stop_process(process, pid=None):
    """Ends a process this script started (SIGTERM, then SIGKILL after 10 s), if it still runs."""
    if process is None or process.poll() is not None:
        return
    try:
        os.kill(pid or process.pid, signal.SIGTERM)
        process.wait(10)
    except (OSError, subprocess.TimeoutExpired):
        process.kill()
        process.wait()


def main():
    if sys.argv[1] == "--lcdd-clients":
        lcdd_clients("127.0.0.1", int(sys.argv[2]), int(sys.argv[3]), sys.argv[4],
                     float(sys.argv[5]))
        return 0
    # Interrupted, the run still ends what it started and removes its folder.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    folder = tempfile.mkdtemp(prefix="relayeur-soak.")
    leftovers = []
    try:
        return soak(sys.argv[1], int(sys.argv[2]), sys.argv[3], folder, leftovers)
    finally:
        for end in reversed(leftovers):
            try:
                end()
            except Exception as error:  # the others must still be ended
                print(f"soak: cleaning up: {error}", file=sys.stderr)
        shutil.rmtree(folder, ignore_errors=True)


def soak(build, duration, csv_path, folder, leftovers):
    broker_period = env_int("SOAK_BROKER_PERIOD", 300)
    device_period = env_int("SOAK_DEVICE_PERIOD", 600)
    sensors_period = env_int("SOAK_SENSORS_PERIOD", 420)
    warmup = env_int("SOAK_WARMUP", 60)
    threshold = env_int("SOAK_THRESHOLD_KIB", 2048)
    fd_margin = env_int("SOAK_FD_MARGIN", 6)
    platform = os.environ.get("SOAK_PLATFORM", "xvfb")
    sanitized = os.environ.get("SOAK_SANITIZER", "0") == "1"
    run = os.path.join(folder, "run")
    os.mkdir(run, 0o700)
    keep = os.path.join(os.path.dirname(os.path.abspath(csv_path)), "soak-all.log")

    lcdd_port, mqtt_port = free_port(), free_port()
    value_script = os.path.join(folder, "lente.sh")
    with open(value_script, "w") as f:
        # One run in four sleeps past the program's 10 s limit.
        f.write(f"""n=$(cat {folder}/lente.n 2>/dev/null || echo 0)
echo $((n + 1)) > {folder}/lente.n
[ $((n % 4)) -eq 3 ] && sleep 30
echo "v$n"
""")
    stop = threading.Event()
    events = Events()
    link = os.path.join(folder, "ttyPanel")
    panel = Panel(link, device_period, 3.0, stop)
    profile = write_settings(folder, link, lcdd_port, mqtt_port, value_script)
    broker = Broker(folder, mqtt_port, events)
    leftovers.append(broker.stop)
    block = "/dev/shm/$M$B$M$5$D$"
    block_before = os.path.exists(block)
    sensors = Sensors(os.path.join(build, "relayeur-sensors"), folder, events)
    leftovers.append(lambda: stop_process(sensors.process))
    deadline = time.monotonic() + 2
    while not os.path.exists(block) and time.monotonic() < deadline:
        time.sleep(0.02)

    env = dict(os.environ, XDG_RUNTIME_DIR=run)
    args = [os.path.join(build, "relayeur"), "--config-dir", folder, "--quiet", "--print-log",
            "--profile", profile, "--start"]
    if platform == "terminal":
        args.append("--terminal")
    elif platform == "offscreen":
        env["QT_QPA_PLATFORM"] = "offscreen"
    else:
        env.pop("QT_QPA_PLATFORM", None)
        args = ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24 -nolisten tcp"] + args
    program = Program(args, env, keep)
    leftovers.append(lambda: stop_process(program.process, program.pid()))
    leftovers.append(stop.set)
    panel.start()
    send = os.path.join(build, "relayeur-send")
    begin = time.monotonic()
    pid = None
    while True:
        pid = pid or program.pid()
        if pid and subprocess.run([send, "Soak", "0", "0"], env=env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL).returncode == 0:
            events.add("send sent")
            events.add("send taken")
            break
        if time.monotonic() - begin > 60 or program.process.poll() is not None:
            print(f"soak: Relayeur did not come up; its output is in {keep}", file=sys.stderr)
            stop.set()
            broker.stop()
            sensors.end()
            return 1
        time.sleep(0.1)
    print(f"soak: Relayeur {pid} up after {time.monotonic() - begin:.1f} s ({platform}), "
          f"running {duration} s; broker restarted every {broker_period} s, serial device "
          f"every {device_period} s, relayeur-sensors every {sensors_period} s", flush=True)

    start = time.monotonic()
    os.environ["XDG_RUNTIME_DIR"] = run
    stats_path = os.path.join(folder, "lcdd.json")
    crowd = subprocess.Popen([sys.executable, os.path.abspath(__file__), "--lcdd-clients",
                              str(lcdd_port), str(env_int("SOAK_LCDD_CLIENTS", 20)), stats_path,
                              str(duration)])
    leftovers.append(lambda: stop_process(crowd))
    workers = [threading.Thread(target=sender, args=(send, stop, events), daemon=True),
               threading.Thread(target=publisher, args=(mqtt_port, stop, events), daemon=True)]
    for w in workers:
        w.start()
    # The end is left quiet, so that the last answer and the exit are not judged mid-change.
    quiet = start + duration - 15
    panel.until = quiet
    periodic(stop, broker_period, lambda: broker.restart(5, stop), quiet)
    periodic(stop, sensors_period, sensors.restart, quiet)

    samples = []
    csv = open(csv_path, "w")
    csv.write("seconds,rss_kib,fds,fds_without_lcdd_clients,threads,cpu_s\n")
    row = "{:>3} {:>8} {:>4} {:>3} {:>5} {:>4} | {:>21} | {:>8} | {:>21} | {:>6} {:>6} | {}"
    print(row.format("min", "RSS KiB", "fds", "thr", "cpu s", "load", "send sent/taken/ref.",
                     "MQTT pub", "LCDd made/srv/ref/cut", "gap ms", "frames", "events"),
          flush=True)
    crashed = False
    last_stats = {}
    last_cpu = 0.0
    minute = 0
    next_sample = start
    while True:
        now = time.monotonic()
        if program.process.poll() is not None or not os.path.exists(f"/proc/{pid}"):
            crashed = True
            break
        if now >= next_sample:
            try:
                figures = process_figures(pid, lcdd_port)
            except (OSError, KeyError):
                crashed = True
                break
            samples.append((now - start,) + figures)
            csv.write(",".join(f"{v:.1f}" if isinstance(v, float) else str(v)
                               for v in samples[-1]) + "\n")
            csv.flush()
            next_sample += SAMPLE_S
        if now >= start + 60 * (minute + 1) or now >= start + duration:
            a, b = start + 60 * minute, min(now, start + 60 * (minute + 1))
            minute += 1
            stats = read_stats(stats_path)
            delta = {k: stats.get(k, 0) - last_stats.get(k, 0) for k in stats}
            last_stats = stats
            frames, longest, away = panel.minute(a, b)
            notes = []
            for kind in ("broker down", "broker up", "sensors killed"):
                if events.between(kind, a, b):
                    notes.append(kind)
            if away:
                notes.append(f"device away {max(away):.0f} ms (gap left out)")
            _, rss, fds, _, threads, cpu = samples[-1]
            with open("/proc/loadavg") as f:
                load = float(f.read().split()[0])
            mqtt = sum(events.between(f"mqtt {k} published", a, b)
                       for k in ("value", "line", "line bad"))
            send_row = "/".join(str(events.between(f"send {k}", a, b))
                                for k in ("sent", "taken", "refused"))
            lcdd_row = "/".join(str(delta.get(k, 0)) for k in ("made", "served", "refused", "cut"))
            print(row.format(minute, rss, fds, threads, f"{cpu - last_cpu:.1f}", f"{load:.1f}",
                             send_row, mqtt, lcdd_row, f"{longest:.1f}", frames,
                             ", ".join(notes)), flush=True)
            last_cpu = cpu
        if now >= start + duration:
            break
        time.sleep(max(0.0, min(next_sample, start + 60 * minute + 60) - time.monotonic()))

    stop.set()
    crowd.send_signal(signal.SIGTERM)
    crowd.wait(30)
    for w in workers:
        w.join(30)
    reasons = []
    answering = "no"
    status = None
    if crashed:
        reasons.append("Relayeur ended during the run")
    else:
        rc = subprocess.run([send, "Fin du test", "0", "0"], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL).returncode
        events.add("send sent")
        events.add({0: "send taken", 3: "send refused"}.get(rc, f"send rc {rc}"))
        answering = "yes" if rc == 0 else "no"
        if rc != 0:
            reasons.append("no answer to a line message at the end")
        os.kill(pid, signal.SIGTERM)
    try:
        status = program.process.wait(30)
    except subprocess.TimeoutExpired:
        program.process.kill()
        status = "none (killed after 30 s)"
    program.reader.join(10)
    if not crashed and status != 0:
        reasons.append(f"exit status {status} on SIGTERM")
    panel.join(5)
    broker.stop()
    sensors_status = sensors.end()
    if not block_before:
        # A publisher that took the block over from a killed one leaves it in place at its end.
        subprocess.run([sensors.program, "--remove"], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
    stats = read_stats(stats_path)

    # Memory and descriptors after warm-up.
    post = [s for s in samples if s[0] >= warmup]
    if len(post) >= 2:
        first_rss, last_rss = post[0][1], post[-1][1]
        growth = last_rss - first_rss
        n = len(post)
        xs, ys = [s[0] for s in post], [s[1] for s in post]
        mx, my = sum(xs) / n, sum(ys) / n
        sxx = sum((x - mx) ** 2 for x in xs)
        slope = sum((x - mx) * (y - my) for x, y in zip(xs, ys)) / sxx if sxx else 0.0
        trend = slope * (xs[-1] - xs[0])
        baseline = statistics.median(s[3] for s in post if s[0] < post[0][0] + 60)
        fd_range = (min(s[3] for s in post), max(s[3] for s in post))
        if sanitized:
            memory_note = "not judged on the sanitizer build (its quarantine keeps freed memory)"
        elif growth > threshold or trend > threshold:
            reasons.append(f"memory grew beyond {threshold} KiB after warm-up")
            memory_note = "FAIL"
        else:
            memory_note = "within the threshold"
        if fd_range[0] < baseline - fd_margin or fd_range[1] > baseline + fd_margin:
            reasons.append(f"descriptors left {baseline:.0f} ± {fd_margin}")
    else:
        reasons.append("too few samples after warm-up")
        first_rss = last_rss = growth = trend = baseline = 0
        fd_range = (0, 0)
        memory_note = ""

    # Line messages: every one sent is taken or refused, and each refusal has its reason.
    sent, taken, refused = (events.total(k) for k in ("send sent", "send taken", "send refused"))
    others = {k: v for k, v in ((k, events.total(k)) for k in
                                {k for _, k, _ in events.items if k.startswith("send rc")}) if v}
    logged_refusals = program.matching(r"Message de relayeur-send laissé de côté : (.*)")
    reason_counts = {}
    for _, m in logged_refusals:
        reason_counts[m.group(1)] = reason_counts.get(m.group(1), 0) + 1
    if sent != taken + refused:
        reasons.append(f"{sent - taken - refused} line messages neither taken nor refused "
                       f"({others})")
    if refused != len(logged_refusals):
        reasons.append(f"{refused} messages refused, {len(logged_refusals)} refusals in the log")
    # Every message the program handled is in its log, one line each or counted in a summary.
    handled = len(program.matching(r"^Message (de|du|d') .*(pour la ligne|laissé de côté)"))
    handled += sum(int(m.group(1)) for _, m in
                   program.matching(r"^… et (\d+) autres messages"))
    handled += len(program.matching(r"^… et 1 autre message"))
    mqtt_taken = handled - taken - refused
    mqtt_lines = events.total("mqtt line published")
    mqtt_refusals = program.matching(r"^Message MQTT sur .* refusé : (.*)")
    mqtt_refused = len(mqtt_refusals)
    mqtt_reasons = {}
    for _, m in mqtt_refusals:
        mqtt_reasons[m.group(1)] = mqtt_reasons.get(m.group(1), 0) + 1
    mqtt_bad = events.total("mqtt line bad published")
    mqtt_values = events.total("mqtt value published")
    mqtt_failed = sum(events.total(f"mqtt {k} failed") for k in ("value", "line", "line bad"))
    # A message published while the program is not subscribed is lost by design (QoS 0): only
    # messages published at least 2 s after it was back and before the broker went down count.
    up = [t for t, _ in program.matching(r"^Serveur MQTT .* (joint|de retour)")]
    down = events.times("broker down")

    def subscribed(kind):
        """How many of these were published while the program was subscribed, and how many not."""
        with events.lock:
            published = [t for t, k, _ in events.items if k == kind]
        safe = 0
        for t in published:
            back = max((u for u in up if u <= t), default=None)
            gone = max((d for d in down if d <= t), default=None)
            if back is not None and t - back >= 2 and (gone is None or gone < back):
                safe += 1
        return safe, len(published) - safe

    safe, lost_ok = subscribed("mqtt line published")
    safe_bad, _ = subscribed("mqtt line bad published")
    if mqtt_taken < safe or mqtt_taken > mqtt_lines:
        reasons.append(f"MQTT line messages: {mqtt_taken} taken of {mqtt_lines} published, "
                       f"{safe} of them while the program was subscribed")
    if mqtt_refused < safe_bad or mqtt_refused > mqtt_bad:
        reasons.append(f"bad MQTT line messages: {mqtt_refused} refused of {mqtt_bad} published, "
                       f"{safe_bad} of them while the program was subscribed")

    # Frames.
    frames_all, longest_all, away_all = panel.minute(start, float("inf"))
    late = [(t - start, g) for t, g, spans in panel.frames
            if t >= start and g is not None and not spans and g > 2 * REFRESH_MS]
    if late:
        reasons.append(f"{len(late)} frame gaps over {2 * REFRESH_MS} ms (longest "
                       f"{max(g for _, g in late):.0f} ms)")
    found = len(program.matching(r"^Port série .* retrouvé"))
    if len(panel.absences) and found < len([a for a in panel.absences if a[1]]):
        reasons.append(f"serial device back {found} times in the log for "
                       f"{len(panel.absences)} absences")
    if stats.get("refused", 0) or stats.get("cut_reader", 0) or stats.get("huh", 0):
        reasons.append(f"LCDd clients that read their answers: {stats.get('refused', 0)} refused, "
                       f"{stats.get('cut_reader', 0)} cut off, {stats.get('huh', 0)} huh?")
    sanitizer = program.matching(SANITIZER)
    if sanitizer:
        reasons.append(f"{len(sanitizer)} sanitizer reports")

    print()
    print(f"Soak, everything at once: {duration} s, serial panel refreshed every {REFRESH_MS} ms "
          f"({platform}); Relayeur's output in {keep}, samples every {SAMPLE_S} s in {csv_path}")
    print(f"  RSS after warm-up {first_rss} KiB, at the end {last_rss} KiB, growth {growth} KiB, "
          f"trend {trend:.0f} KiB ({memory_note}; threshold {threshold} KiB)")
    print(f"  descriptors without the LCDd clients: {fd_range[0]}-{fd_range[1]} after warm-up "
          f"(baseline {baseline:.0f} ± {fd_margin})")
    print(f"  relayeur-send: {sent} sent, {taken} taken, {refused} refused; reasons in the log: "
          + ("; ".join(f"{v} × {k}" for k, v in reason_counts.items()) or "none")
          + (f"; other answers {others}" if others else ""))
    print(f"  MQTT: {mqtt_values} values and {mqtt_lines + mqtt_bad} line messages published "
          f"({mqtt_failed} publications failed while the broker was down); line messages "
          f"{mqtt_taken} taken, {mqtt_refused} refused of {mqtt_bad} bad ones ("
          + ("; ".join(f"{v} × {k}" for k, v in mqtt_reasons.items()) or "no reason") + "), "
          + f"{mqtt_lines - mqtt_taken} lost ({lost_ok} published while the program was not "
          f"subscribed); connections to the broker: "
          f"{len(up)} ({len(program.matching('^Serveur MQTT .* perdu'))} lost)")
    print(f"  LCDd clients: {stats.get('made', 0)} connections, {stats.get('served', 0)} served, "
          f"{stats.get('refused', 0)} refused, {stats.get('cut', 0)} cut off by the program "
          f"({stats.get('cut_reader', 0)} of them reading their answers) "
          f"(log: {len(program.matching('^Client LCDd .* déconnecté : '))} disconnected, "
          f"{len(program.matching('^Client LCDd de .* refusé'))} refused), "
          f"{stats.get('huh', 0)} huh?")
    print(f"  serial panel: {frames_all} frames, longest gap {longest_all:.1f} ms, "
          f"{len(late)} over {2 * REFRESH_MS} ms; the device was away {len(panel.absences)} "
          f"times, found again {found} times (gaps across an absence left out: "
          + (", ".join(f"{g:.0f} ms" for g in away_all) or "none") + ")")
    print(f"  [valeurs] command past its limit: "
          f"{len(program.matching('la commande a dépassé'))} times in the log; relayeur-sensors "
          f"killed {events.total('sensors killed')} times (last one ended with {sensors_status})")
    print(f"  still answering at the end: {answering}; exit status on SIGTERM: {status}"
          + (f"; sanitizer reports: {len(sanitizer)}" if sanitized or sanitizer else ""))
    if reasons:
        print("Verdict: FAIL (" + "; ".join(reasons) + ")")
        return 1
    print("Verdict: PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
