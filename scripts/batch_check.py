#!/usr/bin/env python3
"""Checks sumvelo's batch mode on every article of the corpus and measures its throughput.

    python3 scripts/batch_check.py [--sumvelo build/sumvelo] [--corpus ../shared/corpus]
                                   [--repeat 4]

1. Every zh/, en/ and debian-zh/ article (line 1 the title, the rest the body) becomes one JSON
   line with an id and a limit (200, 300, 400, 500 in turn). `--jsonl --jobs 2` must give
   exactly the output of `--jsonl --jobs 1`, and each answer must equal one `--json` call on the
   same title, body and limit (plus its id).
2. The whole set under every limit, --repeat times over, is timed with --jobs 1 and 2; the
   script prints articles per second for each.
Exits with status 1 at the first difference.
"""
import argparse
import json
import os
import subprocess
import sys
import tempfile
import time


def articles(corpus):
    for folder in ("zh", "en", "debian-zh"):
        path = os.path.join(corpus, folder)
        for name in sorted(os.listdir(path)):
            if not (name.endswith(".txt") and name[:4].isdigit()):
                continue
            with open(os.path.join(path, name), encoding="utf-8") as f:
                text = f.read()
            title, _, body = text.partition("\n")
            yield f"{folder}/{name[:4]}", title, body


def run(command, stdin_path):
    with open(stdin_path, "rb") as stdin:
        done = subprocess.run(command, stdin=stdin, capture_output=True)
    return done


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser()
    parser.add_argument("--sumvelo", default=os.path.join(here, "..", "build", "sumvelo"))
    parser.add_argument("--corpus", default=os.path.join(here, "..", "..", "shared", "corpus"))
    parser.add_argument("--repeat", type=int, default=4)
    args = parser.parse_args()
    sumvelo = args.sumvelo
    docs = list(articles(args.corpus))
    limits = (200, 300, 400, 500)

    with tempfile.TemporaryDirectory() as tmp:
        batch = os.path.join(tmp, "all.jsonl")
        with open(batch, "w", encoding="utf-8") as f:
            for k, (doc_id, title, body) in enumerate(docs):
                line = {"id": doc_id, "title": title, "body": body, "limit": limits[k % 4]}
                f.write(json.dumps(line, ensure_ascii=False) + "\n")
        one = run([sumvelo, "--jsonl", "--jobs", "1"], batch)
        two = run([sumvelo, "--jsonl", "--jobs", "2", batch], os.devnull)
        if one.returncode != 0 or two.returncode != 0:
            sys.exit(f"batch failed: {one.returncode} {two.returncode} {one.stderr!r}")
        if one.stdout != two.stdout:
            sys.exit("--jobs 2 differs from --jobs 1")
        answers = one.stdout.decode("utf-8").splitlines()
        if len(answers) != len(docs):
            sys.exit(f"{len(answers)} answers for {len(docs)} articles")

        body_file = os.path.join(tmp, "body.txt")
        for k, ((doc_id, title, body), answer) in enumerate(zip(docs, answers)):
            with open(body_file, "w", encoding="utf-8") as f:
                f.write(body)
            single = subprocess.run(
                [sumvelo, "--json", "--limit", str(limits[k % 4]), "--title", title, body_file],
                capture_output=True)
            if single.returncode != 0:
                sys.exit(f"{doc_id}: --json failed: {single.stderr!r}")
            expected = {"id": doc_id, **json.loads(single.stdout)}
            if json.loads(answer) != expected:
                sys.exit(f"{doc_id}: the batch answer differs from the --json call")
        print(f"batch_check: {len(docs)} articles: --jsonl --jobs 2 = --jobs 1 = one --json "
              "call per article")

        timed = os.path.join(tmp, "timed.jsonl")
        count = 0
        with open(timed, "w", encoding="utf-8") as f:
            for _ in range(args.repeat):
                for limit in limits:
                    for doc_id, title, body in docs:
                        line = {"id": doc_id, "title": title, "body": body, "limit": limit}
                        f.write(json.dumps(line, ensure_ascii=False) + "\n")
                        count += 1
        for jobs in ("1", "2"):
            start = time.monotonic()
            done = subprocess.run([sumvelo, "--jsonl", "--jobs", jobs, timed],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
            seconds = time.monotonic() - start
            if done.returncode != 0:
                sys.exit(f"timed batch failed: {done.stderr!r}")
            print(f"batch_check: --jobs {jobs}: {count} articles in {seconds:.2f} s, "
                  f"{count / seconds:.0f} articles/s")


if __name__ == "__main__":
    main()
