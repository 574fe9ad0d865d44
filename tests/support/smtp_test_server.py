#!/usr/bin/env python3
"""A small SMTP server for the mail integration tests.

Listens on 127.0.0.1 on a free port, prints "READY <port>" on its standard
output once it accepts connections, and appends one JSON object per line to
<out>/events.jsonl as things happen:

  {"event": "connect"}                                   a new session
  {"event": "auth", "login": "...", "success": true}     an AUTH attempt
  {"event": "message", "mail_from": "...", "rcpt_tos": [...],
   "content": "<the message, dot-stuffing removed>", "authenticated": bool,
   "tls": bool, "answer": "250 ..."}                     a DATA transaction

Options:
  --out DIR           where events.jsonl goes (required)
  --auth USER:PASS    offer AUTH PLAIN and LOGIN (also without TLS) and accept
                      only these credentials; logging in stays optional
  --data-code CODE    answer every DATA with this code (e.g. 554)
  --tls CERT KEY      offer STARTTLS with this certificate and key
  --require-tls       refuse mail before STARTTLS
  --after-starttls T  send T in clear right after the answer to STARTTLS, in
                      the same write (as a man in the middle could)

The server stops when its standard input is closed or on SIGTERM.
"""

import argparse
import asyncio
import json
import logging
import os
import signal
import ssl
import sys
import threading

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True)
    parser.add_argument("--auth")
    parser.add_argument("--data-code", type=int, default=250)
    parser.add_argument("--tls", nargs=2, metavar=("CERT", "KEY"))
    parser.add_argument("--require-tls", action="store_true")
    parser.add_argument("--after-starttls")
    args = parser.parse_args()
    logging.getLogger("mail.log").setLevel(logging.ERROR)

    events_path = os.path.join(args.out, "events.jsonl")
    lock = threading.Lock()

    def record(**event):
        with lock, open(events_path, "a", encoding="utf-8") as f:
            f.write(json.dumps(event) + "\n")
            f.flush()

    credentials = None
    if args.auth:
        user, _, password = args.auth.partition(":")
        credentials = (user, password)

    def authenticator(server, session, envelope, mechanism, auth_data):
        ok = (isinstance(auth_data, LoginPassword) and credentials is not None and
              (auth_data.login.decode("utf-8", "replace"),
               auth_data.password.decode("utf-8", "replace")) == credentials)
        login = auth_data.login.decode("utf-8", "replace") if isinstance(
            auth_data, LoginPassword) else ""
        record(event="auth", mechanism=mechanism, login=login, success=ok)
        return AuthResult(success=ok, handled=False)

    class Handler:
        async def handle_DATA(self, server, session, envelope):
            if args.data_code == 250:
                answer = "250 2.0.0 Message accepted for delivery"
            else:
                answer = "%d 5.0.0 Transaction failed" % args.data_code
            record(event="message",
                   mail_from=envelope.mail_from,
                   rcpt_tos=list(envelope.rcpt_tos),
                   content=envelope.original_content.decode("utf-8", "replace"),
                   authenticated=bool(session.authenticated),
                   tls=session.ssl is not None,
                   answer=answer)
            return answer

    tls_context = None
    if args.tls:
        tls_context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        tls_context.load_cert_chain(args.tls[0], args.tls[1])

    class RecordingSMTP(SMTP):
        def connection_made(self, transport):
            # STARTTLS makes a second call on the same session.
            if self.transport is None:
                record(event="connect")
            super().connection_made(transport)

        async def push(self, status):
            if args.after_starttls and status == "220 Ready to start TLS":
                self._writer.write(status.encode("ascii") + b"\r\n" +
                                   os.fsencode(args.after_starttls))
                await self._writer.drain()
                return
            await super().push(status)

    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)

    def factory():
        return RecordingSMTP(
            Handler(),
            hostname="smtp.test",
            tls_context=tls_context,
            require_starttls=args.require_tls,
            authenticator=authenticator if credentials else None,
            auth_require_tls=False,
            loop=loop)

    server = loop.run_until_complete(loop.create_server(factory, "127.0.0.1", 0))
    port = server.sockets[0].getsockname()[1]

    def watch_stdin():
        try:
            while sys.stdin.buffer.read(4096):
                pass
        finally:
            loop.call_soon_threadsafe(loop.stop)

    threading.Thread(target=watch_stdin, daemon=True).start()
    loop.add_signal_handler(signal.SIGTERM, loop.stop)

    print("READY %d" % port, flush=True)
    try:
        loop.run_forever()
    finally:
        server.close()


if __name__ == "__main__":
    main()
