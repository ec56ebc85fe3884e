#!/usr/bin/python3
"""Uploads one site over FTP with TLS (vsftpd) and over SFTP (sshd), both on 127.0.0.1, with
TFTPThread (trovecart-cli publish-site) and with lftp's mirror -R, alternately, and prints the
median of each and their ratio per protocol. Needs root (the servers log in a local user).

Usage: publish_secure_bench.py [--runs N] [--cli PATH]"""
import argparse
import os
import pwd
import shutil
import subprocess
import sys
import tempfile

import publish_site_bench_common as common

HERE = os.path.dirname(os.path.abspath(__file__))
SERVER = os.path.join(HERE, '..', 'tests', 'support', 'secure_test_server.py')
USER = 'trovecart-sftp'
PASSWORD = 'Tc-test-8431'


def start_server(kind):
    process = subprocess.Popen([sys.executable, '-u', SERVER, kind], stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE, text=True)
    words = process.stdout.readline().split()
    if not words or words[0] != 'ready':
        process.kill()
        raise SystemExit('%s did not start: %s' % (kind, ' '.join(words)))
    return process, int(words[1]), words[2], words[3]


def stop_server(process):
    process.stdin.close()
    process.wait(timeout=30)


def empty_remote_folder(path):
    common.empty_folder(path)
    user = pwd.getpwnam(USER)
    os.chown(path, user.pw_uid, user.pw_gid)


def lftp_command(protocol, port, site, target):
    if protocol == 'ftps':
        # The same TLS version as trovecart uses against vsftpd.
        settings = ('set ftp:ssl-force true; set ftp:ssl-protect-data true; '
                    'set ssl:verify-certificate no; set ssl:priority NORMAL:-VERS-TLS1.3; ')
        url = '127.0.0.1'
    else:
        settings = 'set sftp:auto-confirm yes; '
        url = 'sftp://127.0.0.1'
    return ['lftp', '-u', '%s,%s' % (USER, PASSWORD), '-p', str(port), '-e',
            settings + 'set cmd:fail-exit yes; mirror -R --no-perms %s %s; quit' % (site, target), url]


def measure(protocol, kind, site, runs, cli, home):
    server, port, fingerprint, folder = start_server(kind)
    try:
        ours, theirs = [], []
        for _ in range(runs):
            empty_remote_folder(folder + 'ours')
            ours.append(common.timed(
                [cli, 'publish-site', site, '--ftp', '127.0.0.1', '--protocol', protocol, '--port', str(port),
                 '--user', USER, '--password', PASSWORD, '--passive', '--trust-fingerprint', fingerprint,
                 '--remote-dir', folder + 'ours/', '--yes'], env=dict(os.environ, XDG_DATA_HOME=home)))
            empty_remote_folder(folder + 'lftp')
            theirs.append(common.timed(lftp_command(protocol, port, site, folder + 'lftp'),
                                       env=dict(os.environ, HOME=home)))
            if common.tree_bytes(folder + 'ours') != common.tree_bytes(site):
                raise SystemExit('the published site is incomplete')
    finally:
        stop_server(server)
    common.report('%s publish of %d small and %d large files' % (
        protocol.upper(), common.SMALL_FILES, common.LARGE_FILES), ours, theirs, 'lftp mirror -R')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--runs', type=int, default=3)
    parser.add_argument('--cli', default=common.default_cli())
    args = parser.parse_args()
    if os.geteuid() != 0 or not shutil.which('lftp'):
        raise SystemExit('needs root and lftp')
    common.print_load_average()
    with tempfile.TemporaryDirectory() as work:
        site = os.path.join(work, 'site')
        common.make_site(site)
        home = os.path.join(work, 'home')
        os.makedirs(home)
        measure('ftps', 'vsftpd', site, args.runs, args.cli, home)
        measure('sftp', 'sshd', site, args.runs, args.cli, home)


if __name__ == '__main__':
    main()
