#!/usr/bin/env python3
"""Every change of offset in the tz database in 2027 and 2028, swept by the handheld's
scheduler and read again by Python's zoneinfo.

For each zone whose UTC offset changes in those two years, and for each change, a daily
alarm at every quarter hour of the local day of the change and the day after: the clock
is set a minute after the alarm's time on the day before, and the instant the
notification service would start the wake program for the registered local time is held
against zoneinfo's reading of the same local time with fold 0 (a time skipped by the
change is read with the offset before it, that is shifted forward by the gap; a repeated
one is its first occurrence). The scheduler's own rule for which day is due (the local
date of the clock, the time from its minute's 59th second on, the next day when the time
has passed) is written out here again, independently of the C++ code.

Two edges are swept besides: the same alarms with the clock at the last second before
their minute (registered at their own second, not a moment later), and, for every change
that repeats local times, a pending repeat at each five minutes (and 30 s) of the repeated
span with the clock at the start and the middle of its first and of its second pass (the
first occurrence still ahead, fold 0 then fold 1, never a day late).

usage: bench/zones/sweep.py [build/release/bench/kivo_zone_sweep] [--zone NAME ...]
Prints the number of zones, changes and cases, every disagreement, and exits 1 if any.
"""

import datetime as dt
import os
import subprocess
import sys
import zoneinfo
from pathlib import Path

UTC = dt.timezone.utc
START = dt.datetime(2027, 1, 1, tzinfo=UTC)
END = dt.datetime(2029, 1, 1, tzinfo=UTC)
STEP = dt.timedelta(hours=3)


def offset(zone, instant):
    return instant.astimezone(zone).utcoffset()


def changes(zone):
    """The UTC instants (to the second) at which the zone's offset changes."""
    found = []
    at = START
    before = offset(zone, at)
    while at < END:
        later = at + STEP
        after = offset(zone, later)
        if after != before:
            low, high = at, later  # offset(low) == before, offset(high) != before
            while high - low > dt.timedelta(seconds=1):
                middle = low + (high - low) / 2
                middle = middle.replace(microsecond=0)
                if offset(zone, middle) == before:
                    low = middle
                else:
                    high = middle
            found.append(high)
        at, before = later, after
    return found


def fold0(zone, day, hour, minute):
    """The instant of a local time by zoneinfo with fold 0."""
    local = dt.datetime(day.year, day.month, day.day, hour, minute, tzinfo=zone, fold=0)
    return int(local.timestamp())


def expected(zone, now, hour, minute):
    """When a daily alarm at hour:minute is next due with the clock at `now`."""
    scan_start = now - dt.datetime.fromtimestamp(now, zone).second + 59
    today = dt.datetime.fromtimestamp(now, zone).date()
    first = fold0(zone, today, hour, minute)
    start = 0 if first >= scan_start else 1
    for ahead in range(start, start + 7):
        instant = fold0(zone, today + dt.timedelta(days=ahead), hour, minute)
        if instant >= scan_start:
            return instant
    return None


def expected_repeat(zone, now, hour, minute, second):
    """When a pending repeat at hour:minute:second is next due with the clock at `now`."""
    today = dt.datetime.fromtimestamp(now, zone).date()
    for ahead in range(8):
        day = today + dt.timedelta(days=ahead)
        local = dt.datetime(day.year, day.month, day.day, hour, minute, second, tzinfo=zone)
        first, later = int(local.replace(fold=0).timestamp()), int(local.replace(fold=1).timestamp())
        for instant in (first, later) if later > first else (first,):
            if instant >= now:
                return instant
    return None


def repeat_cases(name, zone, change):
    """A repeat at each five minutes of the span a change repeats, from both passes."""
    before, after = offset(zone, change - dt.timedelta(seconds=1)), offset(zone, change)
    span = before - after
    if span <= dt.timedelta(0):
        return
    start = change.astimezone(zone)  # the repeated span's first local time, second pass
    for step in range(int(span / dt.timedelta(minutes=5))):
        local = start + dt.timedelta(minutes=5 * step, seconds=30)
        if local.hour == 0 and local.minute == 0:
            continue  # an alarm file cannot hold a repeat at 00:00 (it reads as none)
        for now in (change - span, change - span / 2, change, change + span / 2):
            yield name, int(now.timestamp()), local.hour, local.minute, local.second


def cases(names):
    zones = changed = 0
    for name in names:
        zone = zoneinfo.ZoneInfo(name)
        found = changes(zone)
        if not found:
            continue
        zones += 1
        changed += len(found)
        for change in found:
            # The local day of the change, read just before it, and the next one.
            first = (change - dt.timedelta(seconds=1)).astimezone(zone).date()
            for day in (first, first + dt.timedelta(days=1)):
                for quarter in range(96):
                    hour, minute = divmod(quarter * 15, 60)
                    now = fold0(zone, day - dt.timedelta(days=1), hour, minute) + 60
                    yield (name, now, hour, minute), zones, changed
                    yield (name, fold0(zone, day, hour, minute) - 1, hour, minute), zones, changed
            for case in repeat_cases(name, zone, change):
                yield case, zones, changed


def main():
    arguments = sys.argv[1:]
    top = Path(__file__).resolve().parents[2]
    program = str(top / "build/release/bench/kivo_zone_sweep")
    if arguments and not arguments[0].startswith("--"):
        program = arguments.pop(0)
    names = sorted(zoneinfo.available_timezones())
    if arguments[:1] == ["--zone"]:
        names = arguments[1:]

    lines, wanted = [], {}
    zones = changed = 0
    for case, zones, changed in cases(names):
        lines.append(" ".join(str(word) for word in case) + "\n")
        zone = zoneinfo.ZoneInfo(case[0])
        wanted[case] = expected_repeat(zone, *case[1:]) if len(case) == 5 else expected(zone, *case[1:])

    # Every case writes the alarm file and device.db: on a memory file system it takes
    # a quarter of the time.
    environment = dict(os.environ)
    if Path("/dev/shm").is_dir():
        environment.setdefault("TMPDIR", "/dev/shm")
    run = subprocess.run([program], input="".join(lines), capture_output=True, text=True, check=False,
                         env=environment)
    if run.returncode != 0:
        sys.exit(f"{program} failed ({run.returncode}): {run.stderr}")
    wrong = answered = 0
    for line in run.stdout.splitlines():
        words = line.split()
        # The case, then what was registered: two words, or one ("none").
        size = len(words) - 2 if len(words) >= 6 and words[-2][:1].isdigit() and "T" in words[-2] else len(words) - 1
        key = (words[0], *(int(word) for word in words[1:size]))
        answered += 1
        got = int(words[-1]) if size == len(words) - 2 else None
        if got != wanted.get(key):
            wrong += 1
            if wrong <= 40:
                what = "repeat" if len(key) == 5 else "alarm"
                print(f"{key[0]} clock {dt.datetime.fromtimestamp(key[1], UTC):%Y-%m-%d %H:%M:%S}Z "
                      f"{what} {':'.join(f'{part:02}' for part in key[2:])}: registered {' '.join(words[size:])}, "
                      f"zoneinfo says {wanted.get(key)}")
    print(f"{zones} zones, {changed} changes of offset, {len(lines)} cases, {answered} answered, {wrong} disagree")
    sys.exit(1 if wrong or answered != len(lines) else 0)


if __name__ == "__main__":
    main()
