"""Shared parts of the publish benchmarks: the machine's load, the test site, timing and the
summary line."""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

SMALL_FILES = 1000
SMALL_SIZE = 2048
LARGE_FILES = 3
LARGE_SIZE = 50 * 1024 * 1024


def print_load_average():
    """Printed before a benchmark starts, so that a figure measured on a busy machine shows as such."""
    with open('/proc/loadavg') as loadavg:
        print('load average: %s (1, 5, 15 min)' % ' '.join(loadavg.read().split()[:3]))
    sys.stdout.flush()


def bench_arguments():
    """--runs and --cli; the load average is printed before anything runs."""
    parser = argparse.ArgumentParser()
    parser.add_argument('--runs', type=int, default=5)
    parser.add_argument('--cli', default=default_cli())
    args = parser.parse_args()
    print_load_average()
    return args


def default_cli():
    here = os.path.dirname(os.path.abspath(__file__))
    return os.path.join(here, '..', 'build', 'src', 'app', 'trovecart-cli')


def make_site(root):
    """1,000 small files in ten folders and three 50 MB files, like a large shop."""
    for index in range(SMALL_FILES):
        folder = os.path.join(root, 'shoppingcart', 'thumb%d' % (index % 10))
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, 'item%04d.png' % index), 'wb') as file:
            file.write(os.urandom(SMALL_SIZE))
    preview = os.path.join(root, 'shoppingcart', 'preview')
    os.makedirs(preview, exist_ok=True)
    for index in range(LARGE_FILES):
        with open(os.path.join(preview, 'clip%d.flv' % index), 'wb') as file:
            file.write(os.urandom(LARGE_SIZE))
    with open(os.path.join(root, 'index.html'), 'w') as file:
        file.write('<html></html>\n')


def tree_bytes(root):
    """Bytes of the files below root, without the record a publish leaves at the target."""
    return sum(os.path.getsize(os.path.join(folder, name))
               for folder, _, names in os.walk(root) for name in names
               if name != '.trovecart-publish.json')


def timed(command, **kwargs):
    start = time.monotonic()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, **kwargs)
    return time.monotonic() - start


def empty_folder(path):
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)


def report(workload, ours, theirs, peer_name):
    """ours[i] and theirs[i] ran one after the other. This machine's speed drifts between two levels
    over seconds, so the ratio of medians can compare a fast half of one tool with a slow half of the
    other; the median of each pair's own ratio cannot."""
    ours_median = statistics.median(ours)
    theirs_median = statistics.median(theirs)
    paired = statistics.median(mine / peer for mine, peer in zip(ours, theirs))
    print('%s: trovecart median %.3f s, %s median %.3f s, ratio %.2f, paired ratio %.2f' % (
        workload, ours_median, peer_name, theirs_median, ours_median / theirs_median, paired))
    sys.stdout.flush()
