# SPDX-License-Identifier: MIT
"""python3 -m beugwerk [--ortho neu|alt|ch] [--verb-lists PATH] PHRASE...: the conjugation
table as the command line prints it. Exit status 0 when printed, 1 when the phrase was
rejected (the message on standard error), 2 for a usage error, 3 when the verb lists cannot be
read."""
import argparse
import sys

import beugwerk


def main(argv=None):
    parser = argparse.ArgumentParser(
        prog="python3 -m beugwerk",
        description="Print the conjugation table of a German infinitive or infinitive phrase.")
    parser.add_argument("--ortho", choices=["neu", "alt", "ch"], default="neu",
                        help="orthography: neu (reformed, the default), alt or ch")
    parser.add_argument("--verb-lists", metavar="PATH", help="the verb lists file to use")
    parser.add_argument("phrase", nargs="+", metavar="PHRASE",
                        help="the words of the phrase (\"sich anziehen\")")
    args = parser.parse_args(argv)
    if args.verb_lists is not None:
        try:
            beugwerk.set_verb_lists(args.verb_lists)
        except beugwerk.Error as e:
            print(f"beugwerk: {e}", file=sys.stderr)
            return 3
    try:
        text = beugwerk.table(" ".join(args.phrase), args.ortho)
    except beugwerk.Error as e:
        print(e, file=sys.stderr)
        return 1
    # UTF-8 whatever the locale says, as the command line writes it.
    sys.stdout.flush()
    sys.stdout.buffer.write(text.encode("utf-8"))
    sys.stdout.flush()
    return 0


if __name__ == "__main__":
    sys.exit(main())
