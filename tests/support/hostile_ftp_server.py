#!/usr/bin/python3
"""An FTP server on 127.0.0.1 that misbehaves in one chosen way, for the time-out and stop tests.

Prints "port N" on stdout once it listens, and "connected" for every client. Passive data
connections only (EPSV and PASV).
Behaviours:
  silent    accepts the connection and never greets
  mute      logs in, then never answers a command
  trickle   logs in, then answers one byte a second
  endless   logs in, then answers with continuation lines that never end
  stall     behaves until an upload: takes the data connection, then reads and answers nothing
"""
import argparse
import socket
import socketserver
import sys
import threading
import time


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('behaviour', choices=['silent', 'mute', 'trickle', 'endless', 'stall'])
    args = parser.parse_args()
    behaviour = args.behaviour

    class Session(socketserver.StreamRequestHandler):
        def send(self, text):
            data = (text + '\r\n').encode()
            if self.logged_in and behaviour == 'trickle':
                for i in range(len(data)):
                    self.wfile.write(data[i:i + 1])
                    self.wfile.flush()
                    time.sleep(1)
            else:
                self.wfile.write(data)
                self.wfile.flush()

        def open_passive(self, extended):
            listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            # A small buffer, so that a data connection nobody reads fills up at once.
            listener.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
            listener.bind(('127.0.0.1', 0))
            listener.listen(1)
            self.listener = listener
            port = listener.getsockname()[1]
            if extended:
                self.send('229 Entering Extended Passive Mode (|||%d|)' % port)
            else:
                self.send('227 Entering Passive Mode (127,0,0,1,%d,%d)' % (port // 256, port % 256))

        def accept_data(self):
            connection, _ = self.listener.accept()
            self.listener.close()
            return connection

        def handle(self):
            print('connected', flush=True)
            self.logged_in = False
            self.listener = None
            self.held = []
            if behaviour == 'silent':
                self.rfile.read()
                return
            self.send('220 Hostile test server')
            for raw in self.rfile:
                line = raw.decode('latin-1').rstrip('\r\n')
                verb, _, argument = line.partition(' ')
                verb = verb.upper()
                if self.logged_in and behaviour == 'mute':
                    continue
                if self.logged_in and behaviour == 'endless':
                    while True:
                        self.send('200-and there is more')
                if verb == 'USER':
                    self.send('331 Password please.')
                elif verb == 'PASS':
                    self.send('230 Welcome.')
                elif verb == 'PWD':
                    self.send('257 "/" is the current directory.')
                    self.logged_in = True
                elif verb == 'EPSV':
                    self.open_passive(True)
                elif verb == 'PASV':
                    self.open_passive(False)
                elif verb in ('LIST', 'NLST', 'MLSD'):
                    self.send('150 Listing.')
                    self.accept_data().close()
                    self.send('226 Done.')
                elif verb == 'STOR':
                    self.send('150 Go ahead.')
                    # Kept open and never read: the client's upload stalls.
                    self.held.append(self.accept_data())
                elif verb == 'MDTM':
                    self.send('550 No such file.')
                elif verb == 'MKD':
                    self.send('257 "%s" created.' % argument)
                elif verb == 'QUIT':
                    self.send('221 Bye.')
                    return
                elif verb == 'FEAT':
                    self.send('211 No features.')
                else:
                    self.send('200 OK.')

    class Server(socketserver.ThreadingTCPServer):
        daemon_threads = True
        allow_reuse_address = True

        def handle_error(self, request, client_address):
            # The client hanging up on a misbehaving server is the expected end.
            pass

    server = Server(('127.0.0.1', 0), Session)
    print('port %d' % server.server_address[1], flush=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    # Ends with its parent: stdin closes or the test kills it.
    sys.stdin.read()


if __name__ == '__main__':
    try:
        main()
    except (BrokenPipeError, ConnectionResetError, KeyboardInterrupt):
        pass
