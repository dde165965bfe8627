#!/usr/bin/env python3
"""cut_paths.py JOB FIRST SECOND N: checks that two HPGL recordings of one job, a send that
stopped in path N and the send that went on from path N, together cut every path of the
job file JOB, and no path twice but path N, which the first may have begun. A path is a pen-up
with the pen-downs after it; pen-ups with no cut after them move only and are left out.
Prints what is wrong and exits 1; exits 0 when all is well."""
import re
import sys


def paths(name):
    """The cutting paths of a recording: each its pen-up point and its pen-down points."""
    found, start, cuts = [], None, None
    for kind, x, y in re.findall(rb"P([UD])(-?\d+),(-?\d+);", open(name, "rb").read()):
        point = (int(x), int(y))
        if kind == b"U":
            start, cuts = point, None
        else:
            if cuts is None:
                cuts = []
                found.append((start, cuts))
            cuts.append(point)
    return found


job, first, second = (paths(name) for name in sys.argv[1:4])
stopped = int(sys.argv[4])
problems = []
if first[: stopped - 1] != job[: stopped - 1]:
    problems.append("the first send did not cut paths 1 to %d as the job has them" % (stopped - 1))
if len(first) == stopped:
    cut_off = first[-1]
    if cut_off[0] != job[stopped - 1][0] or job[stopped - 1][1][: len(cut_off[1])] != cut_off[1]:
        problems.append("the first send's last path is not the start of path %d" % stopped)
elif len(first) != stopped - 1:
    problems.append("the first send cut %d paths, not %d or %d" % (len(first), stopped - 1, stopped))
if second != job[stopped - 1 :]:
    problems.append(
        "the second send did not cut paths %d to %d, each once: it cut %d paths" % (stopped, len(job), len(second))
    )
for problem in problems:
    print("  " + problem)
sys.exit(1 if problems else 0)
