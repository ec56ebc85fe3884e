#!/usr/bin/python3
"""FTP server for the publish tests: the stock pyftpdlib server with faults on request.

Logs like "python3 -m pyftpdlib" (the bound port in the "starting FTP server on" line)."""
import argparse

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('-i', '--interface', default='127.0.0.1')
    parser.add_argument('-p', '--port', type=int, default=0)
    parser.add_argument('-d', '--directory', required=True)
    parser.add_argument('-u', '--username', required=True)
    parser.add_argument('-P', '--password', required=True)
    parser.add_argument('--refuse-dele', action='store_true',
                        help='answer every DELE with 550')
    parser.add_argument('--refuse-mkd', action='store_true',
                        help='answer every MKD with 550')
    parser.add_argument('--drop-after-stores', type=int, default=0,
                        help='close the control connection after every Nth completed upload')
    parser.add_argument('--no-mlsd', action='store_true',
                        help='offer LIST only (no MLST feature, no MLSD command)')
    args = parser.parse_args()

    class Handler(FTPHandler):
        completed_stores = 0
        drop_pending = False

        def ftp_DELE(self, path):
            if args.refuse_dele:
                self.respond('550 Delete operation not allowed.')
                return
            return FTPHandler.ftp_DELE(self, path)

        def ftp_MKD(self, path):
            if args.refuse_mkd:
                self.respond('550 Permission denied.')
                return
            return FTPHandler.ftp_MKD(self, path)

        def on_file_received(self, file):
            Handler.completed_stores += 1
            if args.drop_after_stores and Handler.completed_stores % args.drop_after_stores == 0:
                self.drop_pending = True

        def _on_dtp_close(self):
            FTPHandler._on_dtp_close(self)
            # Closed only once the data channel is gone; the 226 reply is already queued.
            if self.drop_pending:
                self.drop_pending = False
                self.close_when_done()

    if args.no_mlsd:
        Handler.proto_cmds = {name: value for name, value in FTPHandler.proto_cmds.items()
                              if name not in ('MLSD', 'MLST')}

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.username, args.password, args.directory, perm='elradfmwMT')
    Handler.authorizer = authorizer
    server = FTPServer((args.interface, args.port), Handler)
    try:
        server.serve_forever()
    finally:
        server.close_all()


if __name__ == '__main__':
    main()
