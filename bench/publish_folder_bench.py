#!/usr/bin/python3
"""Copies one site into a fresh folder with TFileThread (trovecart-cli publish-site) and with
cp -r, alternately, and prints the median of each and their ratio.

Usage: publish_folder_bench.py [--runs N] [--cli PATH]"""
import os
import tempfile

import publish_site_bench_common as common


def main():
    args = common.bench_arguments()

    with tempfile.TemporaryDirectory() as work:
        site = os.path.join(work, 'site')
        common.make_site(site)
        ours, theirs = [], []
        # Every copy goes to a folder of its own, and nothing is deleted until the end: on ext4
        # without a journal, each new file's inode is searched past the inodes deleted in the last
        # half minute, and after an rmtree of the last copy that search took most of either tool's time.
        for run in range(args.runs):
            target = os.path.join(work, 'ours%d' % run)
            os.sync()
            ours.append(common.timed([args.cli, 'publish-site', site, '--folder', target, '--yes']))
            if common.tree_bytes(target) != common.tree_bytes(site):
                raise SystemExit('the published site is incomplete')
            os.sync()
            theirs.append(common.timed(['cp', '-r', site, os.path.join(work, 'cp%d' % run)]))
    common.report('Folder publish of %d small and %d large files' % (common.SMALL_FILES, common.LARGE_FILES),
                  ours, theirs, 'cp -r')


if __name__ == '__main__':
    main()
