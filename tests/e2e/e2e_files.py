"""Files the end-to-end tests write and read, byte for byte."""

SLICE = 100  # lines converted per timer tick


def read(path):
    with open(path, "rb") as file:
        return file.read()


def write(path, data):
    with open(path, "wb") as file:
        file.write(data)


def numbered_lines(count):
    return b"".join(b"Line %d\r\n" % n for n in range(1, count + 1))
