#!/usr/bin/python3
"""Copies one site into a fresh folder with TFileThread (trovecart-cli publish-site) and with
cp -r, in pairs, and prints the median of each, their ratio and the median of each pair's ratio.

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
        # Each tool goes first in every other pair: the time a copy takes here depends on what ran
        # just before it, and a fixed order would charge that to one tool.
        for run in range(args.runs):
            ours_target = os.path.join(work, 'ours%d' % run)
            tools = [('ours', [args.cli, 'publish-site', site, '--folder', ours_target, '--yes']),
                     ('cp', ['cp', '-r', site, os.path.join(work, 'cp%d' % run)])]
            for name, command in tools if run % 2 == 0 else reversed(tools):
                os.sync()
                (ours if name == 'ours' else theirs).append(common.timed(command))
            if common.tree_bytes(ours_target) != common.tree_bytes(site):
                raise SystemExit('the published site is incomplete')
    common.report('Folder publish of %d small and %d large files' % (common.SMALL_FILES, common.LARGE_FILES),
                  ours, theirs, 'cp -r')


if __name__ == '__main__':
    main()
