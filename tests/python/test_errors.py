"""Every bad input is a Python exception with the command line's words, and
the interpreter goes on: reading goes through the runtime's status results,
never its fatal end."""
import numpy as np
import pytest

import dendrocompare
from conftest import EXAMPLES, cli_message, run_cli

FIVE2 = EXAMPLES / "five2.den"

# name, file name, content; each is compared with the five-object file.
BAD_FILES = [
    ("ends early", "short.den", "5\n1 2 0 0 0.5\n4 5 0 0 0.5\n"),
    ("not a number", "letters.den", "5\n1 2 0 0 0.5\n4 x 0 0 0.5\n3 4 0 0 1.0\n1 3 0 0 2.0\n"),
    ("no current cluster", "twice.den", "5\n1 2 0 0 0.5\n2 3 0 0 1.0\n3 4 0 0 1.5\n1 5 0 0 2.0\n"),
    ("one object", "one.den", "1\n"),
    ("object numbered beyond N", "beyond.den", "5\n1 2 0 0 0.5\n4 9 0 0 0.5\n3 4 0 0 1.0\n1 3 0 0 2.0\n"),
    ("more objects", "six.den", "6\n1 2 0 0 0.5\n4 5 0 0 0.5\n3 4 0 0 1.0\n1 3 0 0 2.0\n1 6 0 0 3.0\n"),
    ("linkage with three columns", "three.txt", "0 1 0.5\n2 3 1.0\n"),
    ("hclust entry 0", "zero.csv", '"V1","V2","height"\n-1,0,0.5\n-3,1,1.0\n-4,-5,1.5\n2,3,2.0\n'),
    ("unfinished newick", "open.nwk", "((a:1,b:1):1,c:2"),
]


@pytest.mark.parametrize("name,file_name,content", BAD_FILES, ids=[case[0] for case in BAD_FILES])
def test_bad_file_raises_the_command_lines_message_and_the_interpreter_goes_on(name, file_name, content, tmp_path):
    bad = tmp_path / file_name
    bad.write_text(content)
    status, _, stderr = run_cli(bad, FIVE2, cwd=tmp_path)
    assert status == 1
    with pytest.raises(dendrocompare.InputError) as raised:
        dendrocompare.compare(bad, FIVE2)
    assert isinstance(raised.value, ValueError)
    assert str(raised.value) == cli_message(stderr)
    assert dendrocompare.compare(EXAMPLES / "five1.den", FIVE2).levels1 == 3


@pytest.mark.parametrize("path", ["missing.den", "."], ids=["missing", "directory"])
def test_unreadable_path_raises_the_command_lines_message(path, tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    status, _, stderr = run_cli(path, FIVE2, cwd=tmp_path)
    assert status == 1
    with pytest.raises(ValueError) as raised:
        dendrocompare.compare(path, FIVE2)
    assert str(raised.value) == cli_message(stderr)
    assert not (tmp_path / "missing.den").exists()


def five_records(second_record):
    merges = np.array([[1, 2, 0, 0], second_record, [3, 4, 0, 0], [1, 3, 0, 0]], dtype=np.int32)
    return dendrocompare.Dendrogram(5, merges, [0.5, 0.5, 1.0, 2.0])


IN_MEMORY = [
    ("linkage of three columns", lambda: dendrocompare.from_linkage(np.zeros((3, 3))), ValueError,
     "linkage matrix: a linkage matrix has 4 columns, this one has 3"),
    ("linkage of one dimension", lambda: dendrocompare.from_linkage(np.zeros(4)), ValueError,
     "linkage matrix: the array has shape (4,); a linkage matrix has shape (N-1, 4)"),
    ("linkage with a wrong count", lambda: dendrocompare.from_linkage([[0, 1, 0.5, 2], [2, 3, 1.0, 2]]), ValueError,
     "linkage matrix: row 1: the count column says 2.000000 objects, but the clusters joined hold 3"),
    ("hclust entry 0", lambda: dendrocompare.from_hclust([[-1, 0], [-3, 1]], [0.5, 1.0]), ValueError,
     "hclust merges: step 1: merge entry 0 names no object or cluster"),
    ("hclust entry not whole", lambda: dendrocompare.from_hclust([[-1, -2.5], [-3, 1]], [0.5, 1.0]), ValueError,
     "hclust merges: step 1: merge entry -2.500000 is not a whole number"),
    ("merge records of the wrong shape", lambda: dendrocompare.Dendrogram(5, np.zeros((4, 3)), np.zeros(4)),
     ValueError, "merges must have shape (M, 4): first, second, companion1, companion2"),
    ("invalid records", lambda: dendrocompare.compare(five_records([2, 5, 0, 0]), five_records([4, 5, 0, 0])),
     ValueError, "dendrogram 1: record 2 joins cluster 2, which is not a current cluster (object 2 is in cluster 1 "
                 "by then)"),
    ("different object counts",
     lambda: dendrocompare.compare(five_records([4, 5, 0, 0]), dendrocompare.from_linkage([[0, 1, 1.0, 2]])),
     ValueError, "the dendrograms have different object counts (5 and 2)"),
    ("unknown format", lambda: dendrocompare.read_dendrogram(FIVE2, format="tsv"), ValueError,
     "unknown input format 'tsv'; the formats are auto, den, npy, linkage, hclust, newick"),
    ("no threads", lambda: dendrocompare.compare(FIVE2, FIVE2, threads=0), ValueError,
     "threads must be a positive integer of at most 1024, or None for as many as the hardware offers"),
    ("a million threads", lambda: dendrocompare.compare(FIVE2, FIVE2, threads=10**6), ValueError,
     "threads must be a positive integer of at most 1024, or None for as many as the hardware offers"),
    ("threads as a float", lambda: dendrocompare.compare(FIVE2, FIVE2, threads=2.0), ValueError,
     "threads must be a positive integer of at most 1024, or None for as many as the hardware offers"),
    ("unknown measure", lambda: dendrocompare.compare(FIVE2, FIVE2).table("cosine"), ValueError,
     "unknown measure 'cosine'; the measures are jaccard, rand, euclidean, sorensen, adjusted_rand"),
]


def test_numpy_integers_are_whole_numbers():
    result = dendrocompare.compare(FIVE2, FIVE2, threads=np.int64(2), max_clusters=np.int32(3))
    assert list(result.clusters1) == [3, 2]


@pytest.mark.parametrize("name,call,error,message", IN_MEMORY, ids=[case[0] for case in IN_MEMORY])
def test_bad_value_raises_with_its_message(name, call, error, message):
    with pytest.raises(error) as raised:
        call()
    assert str(raised.value) == message
    assert dendrocompare.compare(EXAMPLES / "five1.den", FIVE2).levels2 == 4


def test_results_that_cannot_be_written_raise_an_os_error(tmp_path):
    comparison = dendrocompare.compare(EXAMPLES / "five1.den", FIVE2, exact=False)
    path = tmp_path / "no such directory" / "MATRICES.DAT"
    with pytest.raises(dendrocompare.OutputError) as raised:
        comparison.write_matrices(str(path))
    assert isinstance(raised.value, OSError)
    assert str(raised.value).startswith(f"{path}: cannot write: ")
    with pytest.raises(OSError, match="no such directory"):
        dendrocompare.read_dendrogram(FIVE2).to_den(str(path))
    comparison.write_matrices(str(tmp_path / "MATRICES.DAT"))
    assert (tmp_path / "MATRICES.DAT").read_bytes().startswith(b"   0  4  3  2\r\n")


WRITING_FOREVER = r'''
import sys
import numpy as np
from scipy.cluster.hierarchy import linkage
import dendrocompare
points = np.random.default_rng(1).normal(size=(600, 2))
result = dendrocompare.compare(linkage(points, "average"), linkage(points, "complete"), exact=False)
print("ready", flush=True)
while True:
    result.write_matrices(sys.argv[1])
'''


def test_sigterm_while_writing_leaves_no_temporary(tmp_path):
    """The module removes its temporary when the interpreter is killed by
    SIGTERM in the middle of write_matrices, and the process still dies of
    that signal."""
    import signal
    import subprocess
    import sys
    import time
    target = tmp_path / "MATRICES.DAT"
    child = subprocess.Popen([sys.executable, "-c", WRITING_FOREVER, str(target)], stdout=subprocess.PIPE, text=True)
    assert child.stdout.readline() == "ready\n"
    deadline = time.monotonic() + 60
    while not any(p.name.startswith("MATRICES.DAT~dc") for p in tmp_path.iterdir()):
        assert time.monotonic() < deadline, "no temporary appeared"
        time.sleep(0.001)
    child.send_signal(signal.SIGTERM)
    assert child.wait(timeout=60) == -signal.SIGTERM
    assert [p.name for p in tmp_path.iterdir()] in ([], ["MATRICES.DAT"])
