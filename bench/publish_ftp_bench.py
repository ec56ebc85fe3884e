#!/usr/bin/python3
"""Uploads one site to a loopback pyftpdlib server with TFTPThread (trovecart-cli publish-site)
and with lftp's mirror -R, alternately, and prints the median of each and their ratio.

Usage: publish_ftp_bench.py [--runs N] [--cli PATH]"""
import contextlib
import os
import re
import subprocess
import tempfile
import time

import publish_site_bench_common as common


def start_server(root, log):
    process = subprocess.Popen(
        ['/usr/bin/python3', '-m', 'pyftpdlib', '-i', '127.0.0.1', '-p', '0', '-w', '-d', root,
         '-u', 'bench', '-P', 'bench'], stdout=subprocess.DEVNULL, stderr=log)
    deadline = time.monotonic() + 15
    while time.monotonic() < deadline:
        with open(log.name) as text:
            match = re.search(r'starting FTP server on 127\.0\.0\.1:(\d+)', text.read())
        if match:
            return process, int(match.group(1))
        time.sleep(0.05)
    process.kill()
    raise SystemExit('the FTP server did not start')


@contextlib.contextmanager
def site_and_server(work):
    """Makes the test site and starts a server on an empty root, both below work; yields the site, the
    server's root and its port, and stops the server afterwards."""
    site = os.path.join(work, 'site')
    server_root = os.path.join(work, 'server')
    common.make_site(site)
    os.makedirs(server_root)
    with open(os.path.join(work, 'server.log'), 'w') as log:
        server, port = start_server(server_root, log)
        try:
            yield site, server_root, port
        finally:
            server.kill()
            server.wait()


def main():
    args = common.bench_arguments()

    with tempfile.TemporaryDirectory() as work, site_and_server(work) as (site, server_root, port):
        ours, theirs = [], []
        for _ in range(args.runs):
            common.empty_folder(os.path.join(server_root, 'ours'))
            ours.append(common.timed(
                [args.cli, 'publish-site', site, '--ftp', '127.0.0.1', '--port', str(port),
                 '--user', 'bench', '--password', 'bench', '--passive', '--remote-dir', '/ours/',
                 '--yes']))
            common.empty_folder(os.path.join(server_root, 'lftp'))
            theirs.append(common.timed(
                ['lftp', '-u', 'bench,bench', '-p', str(port), '-e',
                 'set cmd:fail-exit yes; mirror -R --no-perms %s /lftp; quit' % site, '127.0.0.1']))
            if common.tree_bytes(os.path.join(server_root, 'ours')) != common.tree_bytes(site):
                raise SystemExit('the published site is incomplete')
    common.report('FTP publish of %d small and %d large files' % (common.SMALL_FILES, common.LARGE_FILES),
                  ours, theirs, 'lftp mirror -R')


if __name__ == '__main__':
    main()
