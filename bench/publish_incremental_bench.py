#!/usr/bin/python3
"""Publishes one site to a loopback pyftpdlib server with --changed-only, changes one product
(shop.xml and one picture), publishes again, and prints the median of each and the ratio of the
second run to the first.

Usage: publish_incremental_bench.py [--runs N] [--cli PATH]"""
import os
import statistics
import sys
import tempfile

import publish_ftp_bench
import publish_site_bench_common as common


def change_one_product(site, round_number):
    with open(os.path.join(site, 'shoppingcart', 'shop.xml'), 'w') as file:
        file.write('<shop round="%d"/>\n' % round_number)
    with open(os.path.join(site, 'shoppingcart', 'thumb3', 'item0003.png'), 'wb') as file:
        file.write(os.urandom(common.SMALL_SIZE))


def main():
    args = common.bench_arguments()

    with tempfile.TemporaryDirectory() as work, publish_ftp_bench.site_and_server(work) as (site, server_root, port):
        publish = [args.cli, 'publish-site', site, '--ftp', '127.0.0.1', '--port', str(port), '--user', 'bench',
                   '--password', 'bench', '--passive', '--remote-dir', '/ours/', '--yes', '--changed-only']
        ours = os.path.join(server_root, 'ours')
        full, changed = [], []
        for round_number in range(args.runs):
            common.empty_folder(ours)
            full.append(common.timed(publish))
            change_one_product(site, round_number)
            changed.append(common.timed(publish))
            if common.tree_bytes(ours) != common.tree_bytes(site):
                raise SystemExit('the published site is incomplete')
    full_median = statistics.median(full)
    changed_median = statistics.median(changed)
    print('FTP publish of %d small and %d large files: full median %.3f s, after one change median %.3f s, '
          'ratio %.3f' % (common.SMALL_FILES, common.LARGE_FILES, full_median, changed_median,
                          changed_median / full_median))
    sys.stdout.flush()


if __name__ == '__main__':
    main()
