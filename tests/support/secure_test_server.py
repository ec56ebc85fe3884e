#!/usr/bin/env python3
"""Runs vsftpd (FTP with explicit TLS) or OpenSSH's sshd (SFTP) on 127.0.0.1 for one test.

Usage: secure_test_server.py vsftpd|sshd

Prints "skip REASON" and exits when the server cannot run here (not root, a binary missing), else
"ready PORT FINGERPRINT FOLDER KEYFILE": the port, the SHA-256 fingerprint of the certificate or host
key ("SHA256:base64"), a folder the test user may write, and a private key the user may log in with
("-" for vsftpd). The line "rekey" on stdin gives the server a new certificate or host key on the same
port and prints "ready ..." again. At the end of stdin, or on SIGTERM, the server is stopped and every
file made here is removed.
"""

import base64
import fcntl
import os
import pwd
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

USER = "trovecart-sftp"
PASSWORD = "Tc-test-8431"
VSFTPD = "/usr/sbin/vsftpd"
SSHD = "/usr/sbin/sshd"
START_TIMEOUT = 15


def say(line):
    sys.stdout.write(line + "\n")
    sys.stdout.flush()


def run(*command):
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def ensure_user():
    # Tests run in parallel: one of them creates the user while the others wait.
    with open("/tmp/trovecart-test-user.lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        try:
            pwd.getpwnam(USER)
        except KeyError:
            run("useradd", "--create-home", "--shell", "/bin/sh", USER)
        subprocess.run(["chpasswd"], input=f"{USER}:{PASSWORD}\n".encode(), check=True)
    return pwd.getpwnam(USER)


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def wait_for_banner(port, prefix):
    deadline = time.time() + START_TIMEOUT
    while time.time() < deadline:
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=2) as connection:
                if connection.recv(64).startswith(prefix):
                    return True
        except OSError:
            pass
        time.sleep(0.05)
    return False


def sha256_text(hex_digest):
    raw = bytes.fromhex(hex_digest.replace(":", ""))
    return "SHA256:" + base64.b64encode(raw).decode().rstrip("=")


def remove(*paths):
    for path in paths:
        if os.path.exists(path):
            os.remove(path)


class Server:
    def __init__(self, kind):
        self.kind = kind
        self.config = tempfile.mkdtemp(prefix="trovecart-server-")
        # sshd reads the authorized keys as the user.
        os.chmod(self.config, 0o755)
        self.process = None
        self.port = free_port()
        user = ensure_user()
        self.folder = tempfile.mkdtemp(prefix="trovecart-remote-")
        os.chown(self.folder, user.pw_uid, user.pw_gid)
        self.key_file = "-"

    def make_identity(self):
        if self.kind == "vsftpd":
            cert = os.path.join(self.config, "cert.pem")
            key = os.path.join(self.config, "key.pem")
            remove(cert, key)
            run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                "/CN=localhost", "-keyout", key, "-out", cert)
            out = subprocess.run(["openssl", "x509", "-noout", "-fingerprint", "-sha256", "-in", cert],
                                 check=True, capture_output=True, text=True).stdout
            return sha256_text(out.strip().split("=", 1)[1])
        key = os.path.join(self.config, "host_key")
        remove(key, key + ".pub")
        run("ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-f", key)
        out = subprocess.run(["ssh-keygen", "-l", "-f", key + ".pub"], check=True, capture_output=True,
                             text=True).stdout
        return out.split()[1]

    def start(self):
        fingerprint = self.make_identity()
        if self.kind == "vsftpd":
            command = [VSFTPD, self.write_vsftpd_config()]
            banner = b"220"
        else:
            os.makedirs("/run/sshd", mode=0o755, exist_ok=True)
            command = [SSHD, "-D", "-e", "-f", self.write_sshd_config()]
            banner = b"SSH-"
        with open(os.path.join(self.config, "server.log"), "a") as log:
            self.process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                            stderr=log, start_new_session=True)
        if not wait_for_banner(self.port, banner):
            raise RuntimeError(f"{self.kind} did not start")
        say(f"ready {self.port} {fingerprint} {self.folder}/ {self.key_file}")

    def write_vsftpd_config(self):
        empty = os.path.join(self.config, "empty")
        os.makedirs(empty, mode=0o755, exist_ok=True)
        path = os.path.join(self.config, "vsftpd.conf")
        with open(path, "w") as config:
            config.write(f"""listen=YES
listen_address=127.0.0.1
listen_port={self.port}
background=NO
anonymous_enable=NO
local_enable=YES
write_enable=YES
local_umask=022
pam_service_name=vsftpd
secure_chroot_dir={empty}
seccomp_sandbox=NO
isolate=NO
isolate_network=NO
pasv_enable=YES
pasv_address=127.0.0.1
xferlog_enable=NO
vsftpd_log_file={self.config}/vsftpd.log
ssl_enable=YES
rsa_cert_file={self.config}/cert.pem
rsa_private_key_file={self.config}/key.pem
force_local_data_ssl=YES
force_local_logins_ssl=YES
allow_anon_ssl=NO
""")
        return path

    def write_sshd_config(self):
        client_key = os.path.join(self.config, "client_key")
        if not os.path.exists(client_key):
            run("ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-f", client_key)
            authorized = os.path.join(self.config, "authorized_keys")
            shutil.copy(client_key + ".pub", authorized)
            os.chmod(authorized, 0o644)
        self.key_file = client_key
        path = os.path.join(self.config, "sshd_config")
        with open(path, "w") as config:
            config.write(f"""Port {self.port}
ListenAddress 127.0.0.1
HostKey {self.config}/host_key
PidFile none
UsePAM no
PasswordAuthentication yes
KbdInteractiveAuthentication no
PubkeyAuthentication yes
AuthorizedKeysFile {self.config}/authorized_keys
StrictModes no
PermitRootLogin no
AllowUsers {USER}
Subsystem sftp internal-sftp
LogLevel ERROR
""")
        return path

    def stop(self):
        if self.process and self.process.poll() is None:
            try:
                os.killpg(self.process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self.process.wait()
        self.process = None

    def cleanup(self):
        self.stop()
        shutil.rmtree(self.config, ignore_errors=True)
        shutil.rmtree(self.folder, ignore_errors=True)


def main():
    kind = sys.argv[1] if len(sys.argv) > 1 else ""
    binary = {"vsftpd": VSFTPD, "sshd": SSHD}.get(kind)
    if not binary:
        say("skip unknown server " + kind)
        return
    if os.geteuid() != 0:
        say(f"skip {kind} needs root to log in local users")
        return
    for needed in (binary, shutil.which("openssl"), shutil.which("ssh-keygen"), shutil.which("useradd")):
        if not needed or not os.path.exists(needed):
            say(f"skip {needed or 'a tool'} is not installed (scripts/setup.sh installs it)")
            return
    server = Server(kind)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    try:
        server.start()
        for line in sys.stdin:
            if line.strip() == "rekey":
                server.stop()
                server.start()
    finally:
        server.cleanup()


if __name__ == "__main__":
    main()
