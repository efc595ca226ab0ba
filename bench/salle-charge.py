#!/usr/bin/env python3
"""Thirty consoles at --vitesse 10 publishing to one local mosquitto.

usage: bench/salle-charge.py [--build build/release] [--postes 30] [--secondes 60] [--tours 4] [--panne 60]
                             [--garder]

1. With publishing, for --secondes of wall time: the broker's CPU and messages
   a second, the latency from a console's measure (its time stamp) to a
   subscriber's arrival (median, 99th percentile), each console's CPU, and the
   room view's (offscreen) CPU and peak memory.
2. The cost: in each of --tours rounds, half the consoles publish and half do
   not, side by side under the same load (the halves swap every round); the
   ratio of their mean CPU per round, and the median of the rounds; the
   same difference as processor time per second of run.
3. With publishing, the broker stopped --panne seconds in the middle of the
   runs and started again: the measures each place sent against those the
   subscriber got.
Everything it starts is stopped on exit, whatever happens.
"""
import argparse, datetime, json, os, shutil, signal, socket, statistics, subprocess, sys, tempfile, threading, time

TICK = os.sysconf("SC_CLK_TCK")


def peak_memory_mib(pid):
    """The process's peak resident memory (VmHWM), MiB."""
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1]) / 1024
    except OSError:
        pass
    return None


def cpu_seconds(pid):
    """The process's own user + system time (its children apart)."""
    try:
        with open(f"/proc/{pid}/stat") as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / TICK
    except (OSError, IndexError):
        return None


class Room:
    def __init__(self, args):
        self.args = args
        self.work = tempfile.mkdtemp(prefix="salle-charge.")
        self.processes = []
        with socket.socket() as probe:
            probe.bind(("127.0.0.1", 0))
            self.port = probe.getsockname()[1]
        with open(f"{self.work}/mosquitto.conf", "w") as conf:
            conf.write(f"listener {self.port} 127.0.0.1\nallow_anonymous true\npersistence true\n"
                       f"persistence_location {self.work}/\nmax_queued_messages 100000\n")
            if os.geteuid() == 0:
                conf.write("user root\n")
        self.broker = None

    def close(self):
        for process in self.processes:
            if process.poll() is None:
                process.kill()
                process.wait()
        if self.args.garder:
            print(f"  fichiers gard\u00e9s dans {self.work}")
        else:
            shutil.rmtree(self.work, ignore_errors=True)

    def start(self, command, **kwargs):
        process = subprocess.Popen(command, **kwargs)
        self.processes.append(process)
        return process

    def start_broker(self):
        self.broker = self.start(["/usr/sbin/mosquitto", "-c", f"{self.work}/mosquitto.conf"],
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(200):
            try:
                socket.create_connection(("127.0.0.1", self.port), timeout=1).close()
                return
            except OSError:
                time.sleep(0.05)
        sys.exit("le courtier ne d\u00e9marre pas")

    def stop_broker(self):
        # Mosquitto forgets a SIGTERM that comes while it is starting: asked again, killed at last.
        for _ in range(50):
            self.broker.terminate()
            try:
                self.broker.wait(timeout=0.1)
                return
            except subprocess.TimeoutExpired:
                pass
        self.broker.kill()
        self.broker.wait()

    def subscribe(self, name):
        """A durable subscriber; %U is the arrival's Unix time to the nanosecond."""
        out = open(f"{self.work}/{name}", "w")
        process = self.start(["mosquitto_sub", "-h", "127.0.0.1", "-p", str(self.port), "-q", "1", "-c",
                              "-i", f"salle-charge-{name}", "-v", "-F", "%U %t %p", "-t", "tarvic/#"],
                             stdout=out)
        time.sleep(1)
        return process

    def consoles(self, tag, publish, seconds):
        """Runs the consoles for `seconds` of wall time; each one's own CPU seconds.
        `publish(i)` says whether place i publishes."""
        consoles = []
        for i in range(1, self.args.postes + 1):
            command = [self.args.banc, "--banc", "niveaueau", "--mode", "pid", "--kp", "2", "--ti", "20",
                       "--echelon", "50", "--duree", str(seconds * 10), "--vitesse", "10",
                       "--historique", f"{self.work}/essais-{tag}-{i}.sqlite"]
            if publish(i):
                command += ["--mqtt", f"127.0.0.1:{self.port}", "--salle", "charge", "--poste", f"p{i:02d}"]
            consoles.append(self.start(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        last = {c.pid: 0.0 for c in consoles}
        while any(c.poll() is None for c in consoles):
            for c in consoles:
                used = cpu_seconds(c.pid)
                if used is not None:
                    last[c.pid] = used
            time.sleep(0.2)
        failed = [c.returncode for c in consoles if c.returncode != 0]
        if failed:
            print(f"  {len(failed)} consoles ont fini en erreur : codes {sorted(set(failed))}")
        return list(last.values())


def read_messages(path):
    with open(path, encoding="utf-8", errors="replace") as lines:
        for line in lines:
            parts = line.rstrip("\n").split(" ", 2)
            if len(parts) == 3:
                yield float(parts[0]), parts[1], parts[2]


def stamp_of(payload):
    stamp = json.loads(payload)["horodatage"]
    return datetime.datetime.strptime(stamp, "%Y-%m-%dT%H:%M:%S.%fZ").replace(
        tzinfo=datetime.timezone.utc).timestamp()


def latencies(path):
    found = []
    for arrival, topic, payload in read_messages(path):
        if not topic.endswith("/mesures"):
            continue
        try:
            found.append((arrival - stamp_of(payload)) * 1000)
        except (ValueError, KeyError):
            continue
    return sorted(found)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build/release")
    parser.add_argument("--postes", type=int, default=30)
    parser.add_argument("--secondes", type=int, default=60)
    parser.add_argument("--tours", type=int, default=4)
    parser.add_argument("--panne", type=int, default=60)
    parser.add_argument("--garder", action="store_true", help="keeps what the subscribers received")
    args = parser.parse_args()
    args.banc = f"{args.build}/banc/cli/tarvic-banc"
    args.vue = f"{args.build}/salle/tarvic-salle"
    for program in (args.banc, args.vue):
        if not os.access(program, os.X_OK):
            sys.exit(f"{program} absent : construisez-le d'abord.")
    room = Room(args)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    try:
        print(f"== {args.postes} consoles, --vitesse 10, {args.secondes} s, courtier 127.0.0.1:{room.port}, "
              f"charge {os.getloadavg()[0]:.2f}")
        room.start_broker()
        subscriber = room.subscribe("avec")
        view = room.start([args.vue, "--mqtt", f"127.0.0.1:{room.port}", "--toutes-salles", "--poste", "vue",
                           "--historique", f"{room.work}/salle.sqlite"],
                          env=dict(os.environ, QT_QPA_PLATFORM="offscreen"),
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(1)
        broker_before = cpu_seconds(room.broker.pid)
        view_before = cpu_seconds(view.pid)
        started = time.time()
        with_publishing = room.consoles("avec", lambda i: True, args.secondes)
        wall = time.time() - started
        broker_cpu = cpu_seconds(room.broker.pid) - broker_before
        view_cpu = cpu_seconds(view.pid) - view_before
        view_memory = peak_memory_mib(view.pid)
        view.terminate()
        view.wait()
        time.sleep(1)
        subscriber.terminate()
        count = sum(1 for _ in read_messages(f"{room.work}/avec"))
        lat = latencies(f"{room.work}/avec")
        print(f"  messages re\u00e7us : {count} en {wall:.1f} s, {count / wall:.1f}/s")
        print(f"  CPU du courtier : {broker_cpu:.2f} s, {100 * broker_cpu / wall:.2f} % d'un c\u0153ur")
        print(f"  vue de la salle : CPU {view_cpu:.2f} s, {100 * view_cpu / wall:.2f} % d'un c\u0153ur, "
              f"m\u00e9moire au plus {view_memory:.0f} Mio")
        if lat:
            p99 = lat[min(len(lat) - 1, int(0.99 * len(lat)))]
            print(f"  latence mesure -> abonn\u00e9 : m\u00e9diane {statistics.median(lat):.1f} ms, "
                  f"99e centile {p99:.1f} ms, max {lat[-1]:.1f} ms ({len(lat)} mesures)")
        print(f"  CPU d'une console avec publication : m\u00e9diane {statistics.median(with_publishing):.2f} s, "
              f"moyenne {statistics.mean(with_publishing):.2f} s")

        print(f"== co\u00fbt : {args.tours} tours, la moiti\u00e9 des consoles publie, l'autre non, en m\u00eame temps")
        ratios, extras = [], []
        for round_ in range(args.tours):
            publishes = lambda i: i % 2 == round_ % 2
            used = room.consoles(f"tour{round_}", publishes, args.secondes)
            on = [cpu for i, cpu in enumerate(used, 1) if publishes(i)]
            off = [cpu for i, cpu in enumerate(used, 1) if not publishes(i)]
            ratios.append(statistics.mean(on) / statistics.mean(off))
            extras.append((statistics.mean(on) - statistics.mean(off)) / args.secondes)
            print(f"  tour {round_ + 1} : avec {statistics.mean(on):.3f} s, sans {statistics.mean(off):.3f} s, "
                  f"{100 * (ratios[-1] - 1):+.1f} %")
        print(f"  surco\u00fbt de la publication : m\u00e9diane des tours {100 * (statistics.median(ratios) - 1):+.1f} %, "
              f"soit {1000 * statistics.median(extras):.2f} ms de processeur par seconde d'essai")

        print(f"== courtier arr\u00eat\u00e9 {args.panne} s au milieu de l'essai")
        room.subscribe("panne")

        def outage():
            time.sleep(args.panne / 2)
            room.stop_broker()
            print(f"  courtier arr\u00eat\u00e9 \u00e0 {time.strftime('%T')}")
            time.sleep(args.panne)
            room.start_broker()
            print(f"  courtier relanc\u00e9 \u00e0 {time.strftime('%T')}")

        cutter = threading.Thread(target=outage)
        cutter.start()
        room.consoles("panne", lambda i: True, 2 * args.panne)
        cutter.join()
        time.sleep(3)
        # A measure lost shows as a hole in its place's time stamps, wherever the run began and ended.
        stamps = {}
        for _, topic, payload in read_messages(f"{room.work}/panne"):
            if topic.endswith("/mesures"):
                stamps.setdefault(topic, []).append(stamp_of(payload))
        counts = sorted(len(found) for found in stamps.values())
        holes = sum(sum(1 for a, b in zip(found, found[1:]) if b - a > 0.75) for found in stamps.values())
        if counts:
            print(f"  mesures re\u00e7ues par poste : de {counts[0]} \u00e0 {counts[-1]} sur {len(stamps)} postes, "
                  f"{holes} trous de plus de 0,75 s dans leurs horodatages")
    finally:
        room.close()


if __name__ == "__main__":
    main()
