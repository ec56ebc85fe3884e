#!/usr/bin/python3
"""Publishes one site to a loopback pyftpdlib server with --changed-only, changes one product
(shop.xml and one picture), publishes again, and prints the median of each and the ratio of the
second run to the first.

Usage: publish_incremental_bench.py [--runs N] [--cli PATH]"""
import argparse
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
    parser = argparse.ArgumentParser()
    parser.add_argument('--runs', type=int, default=5)
    parser.add_argument('--cli', default=common.default_cli())
    args = parser.parse_args()
    common.print_load_average()

    with tempfile.TemporaryDirectory() as work:
        site = os.path.join(work, 'site')
        server_root = os.path.join(work, 'server')
        common.make_site(site)
        os.makedirs(server_root)
        with open(os.path.join(work, 'server.log'), 'w') as log:
            server, port = publish_ftp_bench.start_server(server_root, log)
            publish = [args.cli, 'publish-site', site, '--ftp', '127.0.0.1', '--port', str(port), '--user',
                       'bench', '--password', 'bench', '--passive', '--remote-dir', '/ours/', '--yes',
                       '--changed-only']
            try:
                full, changed = [], []
                for round_number in range(args.runs):
                    common.empty_folder(os.path.join(server_root, 'ours'))
                    full.append(common.timed(publish))
                    change_one_product(site, round_number)
                    changed.append(common.timed(publish))
                    ours = os.path.join(server_root, 'ours')
                    record = os.path.getsize(os.path.join(ours, '.trovecart-publish.json'))
                    if common.tree_bytes(ours) - record != common.tree_bytes(site):
                        raise SystemExit('the published site is incomplete')
            finally:
                server.kill()
                server.wait()
    full_median = statistics.median(full)
    changed_median = statistics.median(changed)
    print('FTP publish of %d small and %d large files: full median %.3f s, after one change median %.3f s, '
          'ratio %.3f' % (common.SMALL_FILES, common.LARGE_FILES, full_median, changed_median,
                          changed_median / full_median))
    sys.stdout.flush()


if __name__ == '__main__':
    main()
