# aiosmtpd's debugging server (the one "python3 -m aiosmtpd -n" runs) on a free port of
# 127.0.0.1, whose number it prints first; then every message it receives, as that prints it.
import asyncio
import socket
import sys

from aiosmtpd.handlers import Debugging
from aiosmtpd.smtp import SMTP

listener = socket.create_server(("127.0.0.1", 0))
print(listener.getsockname()[1], flush=True)
loop = asyncio.new_event_loop()
handler = Debugging(sys.stdout)
loop.run_until_complete(
    loop.create_server(lambda: SMTP(handler, hostname="localhost"), sock=listener))
loop.run_forever()
