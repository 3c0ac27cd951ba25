#!/usr/bin/python3
"""A loopback SMTP server for the mail tests.

Writes each message it accepts to DIR as a JSON file (envelope sender,
recipients, raw data, the user and mechanism it logged in with). With --user
it requires AUTH LOGIN (or PLAIN) and accepts only that user and password.
Runs until it is terminated.
"""

import argparse
import itertools
import json
import logging
import os
import signal
import threading
import warnings

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword


class Recorder:
    def __init__(self, folder):
        self.folder = folder
        self.counter = itertools.count(1)

    async def handle_DATA(self, server, session, envelope):
        auth = session.auth_data if isinstance(session.auth_data, dict) else {}
        record = {
            "mail_from": envelope.mail_from,
            "rcpt_tos": list(envelope.rcpt_tos),
            "data": envelope.original_content.decode("utf-8", errors="replace"),
            "auth_user": auth.get("user", ""),
            "auth_mechanism": auth.get("mechanism", ""),
        }
        name = os.path.join(self.folder, "mail-%04d.json" % next(self.counter))
        with open(name + ".tmp", "w", encoding="utf-8") as out:
            json.dump(record, out)
        os.replace(name + ".tmp", name)
        return "250 OK"


class Authenticator:
    def __init__(self, user, password):
        self.user = user
        self.password = password

    def __call__(self, server, session, envelope, mechanism, auth_data):
        if not isinstance(auth_data, LoginPassword):
            return AuthResult(success=False, handled=False)
        user = auth_data.login.decode("utf-8", errors="replace")
        password = auth_data.password.decode("utf-8", errors="replace")
        if user == self.user and password == self.password:
            return AuthResult(success=True, auth_data={"user": user, "mechanism": mechanism})
        return AuthResult(success=False, handled=False)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--user", default="")
    parser.add_argument("--password", default="")
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    # Plain-text login on loopback is the point here; keep the test output clean.
    warnings.simplefilter("ignore")
    logging.getLogger("mail.log").setLevel(logging.ERROR)

    options = {}
    if args.user:
        options = dict(authenticator=Authenticator(args.user, args.password),
                       auth_required=True, auth_require_tls=False)
    controller = Controller(Recorder(args.out), hostname="127.0.0.1", port=args.port, **options)
    controller.start()
    print("READY", flush=True)

    stop = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stop.set())
    signal.signal(signal.SIGINT, lambda *_: stop.set())
    stop.wait()
    controller.stop()


if __name__ == "__main__":
    main()
