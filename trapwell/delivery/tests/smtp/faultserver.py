# Misbehaving SMTP servers for the mailer's tests: faultserver.py MODE
#   silent          accepts and never answers
#   reject-rcpt     answers 550 to the recipient and nothing after it
#   split-greeting  greets in two pieces, the second one wrong, and answers nothing; the
#                   second piece goes once the client has answered the first, so the two
#                   can never arrive as one
#   accept-all      answers every command as a willing server would
# Listens on a free port of 127.0.0.1 and prints its number first. Serves one client;
# echoes every byte it receives to stdout and "<closed>" when the client closes.
import socket
import sys

mode = sys.argv[1]
listener = socket.create_server(("127.0.0.1", 0))
print(listener.getsockname()[1], flush=True)
client, _ = listener.accept()
client.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
out = sys.stdout.buffer

replies = {
    "reject-rcpt": [b"250 hello", b"250 ok", b"550 5.1.1 no such user"],
    "accept-all": [b"250 hello", b"250 ok", b"250 ok", b"354 go ahead", b"250 queued", b"221 bye"],
}.get(mode, [])

if mode == "split-greeting":
    client.sendall(b"220 first piece")
    replies = [b"554 second piece"]
elif mode != "silent":
    client.sendall(b"220 fault server\r\n")

in_data = False
for line in client.makefile("rb"):
    out.write(line)
    out.flush()
    if in_data and line != b".\r\n":
        continue
    if replies:
        reply = replies.pop(0)
        client.sendall(reply + b"\r\n")
        in_data = reply.startswith(b"354")
out.write(b"<closed>")
out.flush()
