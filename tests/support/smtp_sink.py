#!/usr/bin/env python3
"""A local SMTP server for the mail tests.

Listens on 127.0.0.1 at a free port, prints the port on the first line of stdout and serves until
stdin is closed. Every accepted message k is stored in the folder given as the first argument as
k.to (envelope recipients), k.subject and k.body (decoded UTF-8), k.name (the attachment's file
name) and k.jpg (the attachment's bytes). A recipient containing "reject" is refused with 550.
"""
import email
import email.header
import email.policy
import os
import socket
import sys
import time

from aiosmtpd.controller import Controller


class Sink:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if "reject" in address:
            return "550 5.1.1 mailbox unavailable"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(self.folder, str(self.count))
        message = email.message_from_bytes(envelope.content, policy=email.policy.default)
        body = message.get_body(preferencelist=("plain",))
        with open(base + ".body", "w", encoding="utf-8") as f:
            f.write(body.get_content() if body is not None else "")
        for part in message.iter_attachments():
            with open(base + ".name", "w", encoding="utf-8") as f:
                f.write(part.get_filename() or "")
            with open(base + ".jpg", "wb") as f:
                f.write(part.get_payload(decode=True))
        with open(base + ".subject", "w", encoding="utf-8") as f:
            f.write(str(message["subject"]))
        # Written last: the test waits for this file.
        with open(base + ".to", "w", encoding="utf-8") as f:
            f.write("\n".join(envelope.rcpt_tos))
        return "250 Message accepted"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def main():
    folder = sys.argv[1]
    port = free_port()
    controller = Controller(Sink(folder), hostname="127.0.0.1", port=port)
    controller.start()
    print(port, flush=True)
    try:
        sys.stdin.read()
    finally:
        controller.stop()


if __name__ == "__main__":
    main()
