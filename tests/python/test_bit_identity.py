"""The module's tables are the command line's MATRICES.DAT: the file its
write_matrices writes is byte for byte the command line's, the printed
values are the arrays' values, and the worked five-object example comes
out as documented."""
import re
from decimal import ROUND_HALF_UP, Decimal

import numpy as np
import pytest
from scipy.cluster.hierarchy import linkage

import dendrocompare
from conftest import EXAMPLES, random_dendrogram, run_cli

EXAMPLE_PAIRS = [
    ("five1.den", "five2.den"),
    ("five2.den", "five1.den"),
    ("iris/average.den", "iris/complete.den"),
    ("iris/complete.den", "iris/average.den"),
    ("iris/average.den", "iris/average.den"),
]


def cli_matrices(first, second, directory, cli):
    status, _, stderr = run_cli("-o", directory, first, second, cwd=directory)
    assert status == 0, stderr
    return (directory / "MATRICES.DAT").read_bytes()


def module_matrices(comparison, directory):
    path = directory / "module.dat"
    comparison.write_matrices(path.as_posix())
    return path.read_bytes()


def printed_tables(matrices):
    """The five tables of a MATRICES.DAT as the decimal texts of their values."""
    records = matrices.decode("ascii").split("\r\n")[1:-1]
    tables, rows = [], None
    for record in records:
        if re.search("[a-zA-Z]", record) and not re.search(r"\dE", record):
            rows = []
            tables.append(rows)
        else:
            rows.append(record.split()[1:])
    return tables


def significant_digits(text):
    """6 in the fixed form of a list-directed real, 7 in the exponent form."""
    return len(re.sub("[^0-9]", "", text.split("E")[0]).lstrip("0"))


def printed(value, digits):
    """A 4-byte value as a list-directed record prints it: its exact binary
    value rounded to the digits, halves away from zero."""
    exact = Decimal(float(value))
    if exact == 0:
        return 0.0
    return float(exact.quantize(Decimal(1).scaleb(exact.adjusted() - digits + 1), rounding=ROUND_HALF_UP))


@pytest.mark.parametrize("first,second", EXAMPLE_PAIRS)
def test_bundled_examples_write_the_command_lines_file(first, second, tmp_path, cli):
    comparison = dendrocompare.compare(EXAMPLES / first, EXAMPLES / second, exact=False)
    expected = cli_matrices(EXAMPLES / first, EXAMPLES / second, tmp_path, cli)
    assert module_matrices(comparison, tmp_path) == expected


@pytest.mark.parametrize("seed,n,distinct", [(1, 12, 3), (2, 40, 8), (3, 97, 30), (4, 150, 149), (5, 200, 20)])
def test_random_trees_write_the_command_lines_file(seed, n, distinct, tmp_path, cli):
    rng = np.random.default_rng(seed)
    first, second = random_dendrogram(n, rng, distinct), random_dendrogram(n, rng, distinct)
    first.to_den((tmp_path / "first.den").as_posix())
    second.to_den((tmp_path / "second.den").as_posix())
    comparison = dendrocompare.compare(first, second, exact=False)
    expected = cli_matrices(tmp_path / "first.den", tmp_path / "second.den", tmp_path, cli)
    assert module_matrices(comparison, tmp_path) == expected


@pytest.mark.parametrize("method1,method2", [("average", "complete"), ("ward", "single")])
def test_linkage_matrices_write_the_command_lines_file(method1, method2, tmp_path, cli):
    points = np.random.default_rng(7).normal(size=(80, 3))
    Z1, Z2 = linkage(points, method1), linkage(points, method2)
    np.save(tmp_path / "first.npy", Z1)
    np.save(tmp_path / "second.npy", Z2)
    comparison = dendrocompare.compare(Z1, Z2, exact=False)
    expected = cli_matrices(tmp_path / "first.npy", tmp_path / "second.npy", tmp_path, cli)
    assert module_matrices(comparison, tmp_path) == expected


def test_printed_values_are_the_arrays_values(tmp_path):
    comparison = dendrocompare.compare(EXAMPLES / "iris/average.den", EXAMPLES / "iris/complete.den", exact=False)
    tables = printed_tables(module_matrices(comparison, tmp_path))
    assert len(tables) == 5
    for measure, rows in zip(dendrocompare.MEASURES, tables):
        values = comparison.table(measure)
        assert len(rows) == values.shape[0]
        for texts, row in zip(rows, values):
            assert [float(t) for t in texts] == [printed(v, significant_digits(t)) for t, v in zip(texts, row)]


def test_header_and_row_labels_are_the_cluster_counts(tmp_path):
    comparison = dendrocompare.compare(EXAMPLES / "iris/average.den", EXAMPLES / "iris/complete.den", exact=False)
    records = module_matrices(comparison, tmp_path).decode("ascii").split("\r\n")
    assert [int(v) for v in records[1 - 1].split()] == [0, *comparison.clusters2]
    assert [int(r.split()[0]) for r in records[2:2 + comparison.levels1 - 1]] == list(comparison.clusters1)


# The worked example: partitions of the two five-object dendrograms, the
# pair counts D (joined in exactly one), U (in at least one), W and NP = 10,
# and the documented values.
FIVE_D = [[3, 4, 6], [5, 6, 6]]
FIVE_U = [[3, 4, 7], [5, 6, 8]]
FIVE_W = [[3, 4, 8], [5, 6, 10]]
FIVE_ADJUSTED = [[1.153846, 1.25, 1.071429], [1.190476, 1.363636, 1.153846]]
# At (1, 3): S1 = 9, S2 = 17, S12 = 153, F = 130, A = 4, agreements 4.
FIVE_EXPECTED_AGREEMENT = (2 * 153 / 5 + ((130 - 6 * 9) - 6 * 17)) / (2 * 4)


def test_five_object_example_gives_the_documented_values():
    c = dendrocompare.compare(EXAMPLES / "five1.den", EXAMPLES / "five2.den", exact=False)
    d, u, w = (np.array(x, dtype=np.float64) for x in (FIVE_D, FIVE_U, FIVE_W))
    assert (c.levels1, c.levels2) == (3, 4)
    assert list(c.clusters1) == [3, 2] and list(c.clusters2) == [4, 3, 2]
    assert list(c.heights1) == [0.5, 1.0] and list(c.heights2) == [1.0, 2.0, 3.0]
    assert np.array_equal(c.jaccard, (d / u).astype(np.float32))
    assert np.array_equal(c.rand, (d / 10).astype(np.float32))
    assert np.array_equal(c.euclidean, np.sqrt(d).astype(np.float32))
    assert np.array_equal(c.sorensen, (d / w).astype(np.float32))
    assert np.allclose(c.adjusted_rand, FIVE_ADJUSTED, rtol=0, atol=5e-7)
    assert c.minima == {
        "jaccard": (np.float32(0.75), 2, 2),
        "rand": (np.float32(0.3), 3, 4),
        "euclidean": (np.float32(np.sqrt(3)), 3, 4),
        "sorensen": (np.float32(0.6), 2, 2),
        "adjusted_rand": (np.float32(1 - (4 - FIVE_EXPECTED_AGREEMENT) / (10 - FIVE_EXPECTED_AGREEMENT)), 3, 2),
    }
