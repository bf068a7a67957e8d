#!/usr/bin/env bash
# Where the real program's start-up time goes: perf samples the main thread
# from exec until the window is mapped (plus a short settle for the first
# paint) over several starts, and each sample is charged to the first phase
# of the list below found on its call stack; the floor is profiled alike.
#   bench/profile.sh STARTWATCH PROGRAM FLOOR RUN_DIR [RUNS]
source "$(dirname "$0")/../tests/e2e/lib.sh"
command -v perf >/dev/null || { echo "perf is missing"; exit 77; }

startwatch=$1 program=$2 floor=$3 run_dir=$4 runs=${5:-8}
frequency=2000
export QT_QPA_PLATFORM=xcb

start_display
copy_run_data "$run_dir"
cd "$work"
"$startwatch" 668 100 "$program" >/dev/null 2>&1  # leaves a Save.Bmp, as after any earlier start
record() {  # record NAME BINARY: perf data in $work/NAME.<i>
  for i in $(seq "$runs"); do
    perf record -q -F "$frequency" --call-graph dwarf,32768 -o "$work/$1.$i" -- \
      "$startwatch" 668 100 "$2" >>"$work/$1.times" 2>>"$work/log" ||
      { echo "perf could not record:"; cat "$work/log"; exit 1; }
  done
}
samples() {  # samples NAME BINARY: one stack per sample of its main thread
  for i in $(seq "$runs"); do
    perf script -i "$work/$1.$i" --comm "$(basename "$2")" -F tid,ip,sym,dso 2>/dev/null
  done
}
record program "$program"
record floor "$floor"
samples program "$program" >"$work/program.stacks"
samples floor "$floor" >"$work/floor.stacks"
python3 -c '
import sys
# (phase, any of these symbols on the stack); the first phase that matches wins.
phases = [
    ("translations", ["LoadRussianTranslations", "QTranslator::load"]),
    ("settings load and apply (N17)", ["TForm1::N17Click"]),
    ("audio set-up", ["AudioWavePlayer::AudioWavePlayer", "QMediaDevices"]),
    ("Form2, Form3, Form4 (hidden)", ["TForm2::TForm2", "TForm3::TForm3", "TForm4::TForm4"]),
    ("pictures (decode, to pixmap)", ["resources::LoadPicture", "QPixmap::fromImage"]),
    ("fonts (fontconfig, first use of a face)", ["QFontDatabasePrivate::findFont", "QFontDatabase::load", "libfontconfig", "libexpat"]),
    ("libraries and plugins loaded while running", ["_dl_open", "dlopen_doit"]),
    ("library loading and linking before main", ["_dl_start", "_dl_start_final", "_dl_init", "_dl_runtime_resolve", "_dl_fixup"]),
    ("application object (X connection, platform)", ["QApplicationPrivate::init", "QApplication::QApplication"]),
    ("main window controls and menus", ["TForm1::TForm1"]),
    ("first show and paint", ["QCoreApplication::exec", "QWidget::setVisible", "QWidget::show"]),
    ("exec, page faults (kernel only)", ["kernel.kallsyms"]),
]
def charge(path):
    counts, total, stack = {}, 0, []
    def flush():
        nonlocal total
        if not stack:
            return
        total += 1
        name = "other (unwinding lost)"
        for phase, symbols in phases:
            if any(s in frame for frame in stack for s in symbols):
                name = phase
                break
        counts[name] = counts.get(name, 0) + 1
    for line in open(path):
        if line.strip().isdigit():  # a sample starts with its thread id
            flush()
            stack = []
        elif line.strip():
            stack.append(line)
    flush()
    return counts, total
runs, hz, folder = int(sys.argv[1]), float(sys.argv[2]), sys.argv[3]
program, total = charge(folder + "/program.stacks")
floor, floor_total = charge(folder + "/floor.stacks")
ms = lambda n: n / hz / runs * 1000
print("where the start-up goes: main-thread CPU ms per start (perf, %d starts each)" % runs)
print("  %-46s %9s %9s" % ("", "taynovid", "floor"))
for phase, _ in phases + [("other (unwinding lost)", [])]:
    print("  %-46s %9.1f %9.1f" % (phase, ms(program.get(phase, 0)), ms(floor.get(phase, 0))))
print("  %-46s %9.1f %9.1f" % ("total", ms(total), ms(floor_total)))
' "$runs" "$frequency" "$work"
for what in program floor; do
  echo "  ($what, start to window under perf, ms: $(awk '{ printf "%s ", $1 }' "$work/$what.times"))"
done
