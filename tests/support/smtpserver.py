#!/usr/bin/python3
# A mail server for the tests, on the loopback address only: SMTP with STARTTLS required and
# a login, or SSL from the connection on (--ssl). Every message received is written to --dir
# as NNN.eml, then NNN.subject, NNN.text and NNN.<attachment name>, decoded. Prints
# "PORT <n>" when it listens, and ends when its standard input closes.
import argparse, asyncio, email, email.policy, os, socket, ssl, sys

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword

parser = argparse.ArgumentParser()
parser.add_argument("--dir", required=True)
parser.add_argument("--cert", required=True)
parser.add_argument("--key", required=True)
parser.add_argument("--user", required=True)
parser.add_argument("--password", required=True)
parser.add_argument("--ssl", action="store_true")
parser.add_argument("--refuse", default="", help="a recipient refused with 550")
args = parser.parse_args()

count = 0

class Handler:
    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address == args.refuse:
            return "550 5.1.1 destinatario sconosciuto"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        global count
        count += 1
        base = os.path.join(args.dir, "%03d" % count)
        with open(base + ".eml", "wb") as f:
            f.write(envelope.content)
        msg = email.message_from_bytes(envelope.content, policy=email.policy.default)
        with open(base + ".subject", "w", encoding="utf-8") as f:
            f.write(str(msg["subject"]))
        for part in msg.walk():
            if part.is_multipart():
                continue
            name = part.get_filename()
            if name:
                with open(base + "." + name, "wb") as f:
                    f.write(part.get_payload(decode=True))
            elif part.get_content_type() == "text/plain":
                with open(base + ".text", "w", encoding="utf-8") as f:
                    f.write(part.get_content())
        return "250 Message accepted"

def authenticator(server, session, envelope, mechanism, auth_data):
    ok = isinstance(auth_data, LoginPassword) and auth_data.login.decode() == args.user \
        and auth_data.password.decode() == args.password
    return AuthResult(success=ok, handled=False)

context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
context.load_cert_chain(args.cert, args.key)

with socket.socket() as s:
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]

if args.ssl:
    # The connection is encrypted from the start: a login needs no STARTTLS.
    controller = Controller(Handler(), hostname="127.0.0.1", port=port, ssl_context=context,
                            authenticator=authenticator, auth_required=True, auth_require_tls=False)
else:
    controller = Controller(Handler(), hostname="127.0.0.1", port=port, tls_context=context,
                            require_starttls=True, authenticator=authenticator, auth_required=True)
controller.start()
print("PORT %d" % port, flush=True)
sys.stdin.read()
controller.stop()
