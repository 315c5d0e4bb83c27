#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets (corpus/NAME/*), each input in
the layout its target's header comment describes. Run again after changing
a layout; libFuzzer adds its own finds to a copy, never to these."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# Item kind bytes shared by the list and format targets.
INT1, INT2, INT4, INT8, REAL4, REAL8, CPLX8, CPLX16 = range(8)
LOG1, LOG4, CHAR1, CHAR_SHORT, CHAR_LONG = 8, 9, 10, 11, 12


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def list_read(name, tab, statements, text):
    head = bytes([tab, len(statements) - 1])
    head += bytes(len(s) - 1 for s in statements)
    head += bytes(k for s in statements for k in s)
    write("list_read", name, head + text.encode("latin-1"))


def list_seeds():
    list_read("merge_records", 0, [[INT4], [INT4] * 4 + [REAL4]], "3\r\n1 2 0 0 1.25\r\n")
    list_read("split_record", 0, [[INT4] * 4 + [REAL4]], "3 7\r\n0 0 1.25\r\n")
    list_read("nulls_repeats_slash", 0, [[INT4] * 3, [INT4] * 2, [INT4] * 3], "1,,3\r\n2*5\r\n5 /\r\n")
    list_read("repeat_nulls", 0, [[INT4] * 3], "2*,7\r\n")
    list_read("huge_repeat", 0, [[INT4] * 3], "12345678901*1\r\n")
    list_read("quotes", 0, [[CHAR_SHORT, CHAR_LONG, CHAR1]], "'It''s' \"two\r\nlines\" ''\r\n")
    list_read("complex", 0, [[CPLX8, CPLX16]], "(1.0, 2.0) (3,\r\n4)\r\n")
    list_read("reals", 0, [[REAL4] * 8], "1E2 1.5D-1 -.5 1.5-3 INF NaN . E5\r\n")
    list_read("wide_integers", 0, [[INT1, INT2, INT4, INT8]], "300 70000 4294967297 -9223372036854775808\r\n")
    list_read("logicals", 0, [[LOG1, LOG4, LOG1, LOG4]], ".TRUE. F T .f\r\n")
    list_read("tabs", 1, [[INT4, INT4]], "1\t2\r\n")
    list_read("huge_tabsize", 4, [[CHAR_LONG]], "\t\tx\r\n")
    list_read("comma_at_record_start", 0, [[INT4, INT4]], "1\r\n,2\r\n")
    list_read("bad_character", 0, [[INT4]], "1.0\r\n")
    list_read("no_line_end", 0, [[INT4], [INT4]], "1\r\n2")


def format_input(name, mode, kinds, fmt, tail=b""):
    data = bytes([mode, len(kinds)]) + bytes(kinds) + fmt.encode("latin-1") + b"\n" + tail
    write("format", name, data)


def format_seeds():
    f32 = lambda v: struct.pack("<f", v)
    f64 = lambda v: struct.pack("<d", v)
    i32 = lambda v: struct.pack("<i", v)
    format_input("minimum_line", 0, [REAL4, INT4, INT4],
                 "(' VALUE = ',F10.5,' AT NO. OF CLUSTERS ', 2I6)", f32(0.125) + i32(3) + i32(12))
    format_input("reversion_literal", 0, [REAL4, INT4, INT4, REAL4],
                 "(' VALUE = ',F10.5,' AT NO. OF CLUSTERS ', 2I6)",
                 f32(1.5) + i32(1) + i32(2) + f32(-2.25))
    format_input("inner_reversion", 0, [INT4] + [REAL4] * 6, "(I3,(2F5.1))",
                 i32(7) + b"".join(f32(x / 4) for x in range(6)))
    format_input("record_ends", 0, [INT4, INT4], "(I5,3/,I5)", i32(1) + i32(2))
    format_input("real_forms", 0, [REAL4, REAL8, REAL4, REAL8, REAL4, REAL8],
                 "(SP,E12.4E3,ES12.3,EN12.3,G12.4,D15.6,SS,G10.3E1)",
                 f32(1234.5) + f64(-0.000123) + f32(1e30) + f64(5e-300) + f32(float("inf")) + f64(float("nan")))
    format_input("scale_factors", 0, [REAL4, REAL4, REAL8], "(2P,F10.3,-1P,E12.4,3P,G14.5E2)",
                 f32(3.25) + f32(-7.5e-5) + f64(12345.678))
    format_input("integer_forms", 0, [INT4, INT2, INT8, LOG4, CHAR_SHORT],
                 "(B12.4,O6,Z17.17,L3,A5)", i32(-5) + struct.pack("<h", 300) + struct.pack("<q", -1) + i32(1) + b"ABCDEFG")
    format_input("positions", 0, [INT4, INT4, CHAR_SHORT], "(T10,I3,TL5,I2,TR3,A,5X,'x')",
                 i32(123) + i32(45) + b"abcdefg")
    format_input("hollerith_colon", 0, [INT4], "(I4,:,5HABCDE,I4)", i32(9))
    format_input("dollar_internal", 2, [CHAR_SHORT], "(A,$)", b"ABCDEFG")
    format_input("complex", 0, [CPLX8, CPLX16], "(2(F6.2,1X),2E12.4)",
                 f32(1.0) + f32(-2.0) + f64(3.5) + f64(0.25))
    format_input("default_widths", 0, [INT1, REAL4, REAL8, LOG1, CHAR_SHORT], "(I,F,E,L,A)",
                 b"\x05" + f32(2.5) + f64(-1e10) + b"\x01" + b"XYZ1234")
    format_input("nested_groups", 0, [INT4] * 4, "(2(2(I3)),3(/))", i32(1) + i32(2) + i32(3) + i32(4))
    format_input("read_file_name", 1, [CHAR_LONG], "(A)", b"data.txt\r\n")
    format_input("read_fields", 1, [INT4, REAL4, LOG4, CHAR_SHORT, INT4], "(BZ,I5,F8.3,L3,A7,BN,Z4)",
                 b" 12 3 1.5e2    T  hello  ff\r\n")
    format_input("read_commas", 1, [INT4, REAL4, INT4], "(I10,F10.2,I3)", b"12,3.5,7\r\n")
    format_input("read_positions", 1, [INT4, INT4, INT4], "(T5,I2,TL4,I2,TR1,Q)", b"123456789\r\n")
    format_input("read_records", 1, [INT4, INT4], "(I3/I3)", b"  1\r\n  2\r\n")
    format_input("read_internal", 3, [REAL8, INT4], "(D10.3,I5)", b"  1.25D+01   42")
    format_input("bad_format", 0, [INT4], "(F8.655352)", i32(1))
    format_input("unmatched", 0, [INT4], "(I3", i32(1))


def dendrogram_seeds():
    examples = os.path.join(HERE, "..", "..", "examples")
    five1 = open(os.path.join(examples, "five1.den"), "rb").read()
    five2 = open(os.path.join(examples, "five2.den"), "rb").read()
    write("dendrogram", "five_pair", five1 + five2)
    write("dendrogram", "five_self", five1 + five1)
    write("dendrogram", "ties_and_order", b"4\n3 4 0 0 1\n1 2 0 0 1\n1 3 0 0 2\n4\n1 2 0 0 0.5\n1 3 0 0 0.5\n1 4 0 0 3\n")
    write("dendrogram", "two_objects", b"2\n1 2 0 0 1.0\n2\n2 1 0 0 7\n")
    write("dendrogram", "not_current", b"3\n1 2 0 0 1\n2 3 0 0 2\n3\n1 2 0 0 1\n1 3 0 0 2\n")
    write("dendrogram", "nan_height", b"3\n1 2 0 0 NaN\n1 3 0 0 2\n")
    write("dendrogram", "huge_height", b"3\n1 2 0 0 1e40\n1 3 0 0 2\n3\n1 2 0 0 1\n1 3 0 0 2\n")
    write("dendrogram", "short_file", b"5\n1 2 0 0 0.5\n")
    write("dendrogram", "object_count_too_large", b"46341\n1 2 0 0 1\n")
    write("dendrogram", "separators", b"3,\n1,2,0,0,1.5\n1 3 0 0 2.5\n3\n2*1 0 0 1.5\n1 3 2*0 2.5\n")
    lines = ["8"] + [f"1 {i} 0 0 {i * 0.5}" for i in range(2, 9)]
    lines += ["8"] + [f"{i} {i + 1} 0 0 {9 - i}" for i in range(7, 0, -1)]
    write("dendrogram", "eight_chain", ("\n".join(lines) + "\n").encode())


NPY, TEXT, HCLUST, NEWICK, NEWICK_PAIR, DETECT = 0, 1, 2, 3, 4, 5


def npy(rows, dtype="<f8", fortran=False, shape=None):
    shape = shape or (len(rows), len(rows[0]) if rows else 4)
    header = "{'descr': '%s', 'fortran_order': %s, 'shape': (%d, %d), }" % (
        dtype, fortran, shape[0], shape[1])
    header = header.ljust(117) + "\n"
    body = b"".join(struct.pack("<d", v) for row in rows for v in row)
    return b"\x93NUMPY\x01\x00" + struct.pack("<H", len(header)) + header.encode() + body


def inputs(name, reader, data):
    write("inputs", name, bytes([reader]) + data)


def inputs_seeds():
    # Four objects: {1,2} at 0.5, {3,4} at 1, all at 2.
    z = [[0, 1, 0.5, 2], [2, 3, 1.0, 2], [4, 5, 2.0, 4]]
    inputs("npy", NPY, npy(z))
    inputs("npy_fortran", NPY, npy([list(c) for c in zip(*z)], fortran=True, shape=(3, 4)))
    inputs("npy_float32", NPY, npy(z, dtype="<f4"))
    inputs("npy_decreasing", NPY, npy([[0, 1, 2.0, 2], [2, 3, 1.0, 2], [4, 5, 0.5, 4]]))
    inputs("npy_nan", NPY, npy([[0, 1, float("nan"), 2], [2, 3, 1.0, 2], [4, 5, 2.0, 4]]))
    text = "".join("%.18e %.18e %.18e %.18e\n" % tuple(r) for r in z).encode()
    inputs("savetxt", TEXT, text)
    inputs("savetxt_commas", TEXT, text.replace(b" ", b","))
    inputs("savetxt_detected", DETECT, text)
    inputs("savetxt_bad_id", TEXT, b"0 9 0.5 2\n2 3 1 2\n4 5 2 4\n")
    hclust = b'"","X1","X2","hc.height"\n"1",-1,-2,0.5\n"2",-3,-4,1\n"3",1,2,2\n'
    inputs("hclust", HCLUST, hclust)
    inputs("hclust_bare", HCLUST, b"-1,-2,0.5\n-3,-4,1\n1,2,2\n")
    inputs("hclust_detected", DETECT, hclust)
    inputs("hclust_reused", HCLUST, b"-1,-2,0.5\n-1,-4,1\n1,2,2\n")
    newick = b"((a:0.5,b:0.5):1.5,(c:1,d:1):1);\n"
    inputs("newick", NEWICK, newick)
    inputs("newick_three_children", NEWICK, b"((a:1,b:1,c:1):1,d:2);")
    inputs("newick_quoted", NEWICK, b"(('x y':1,'it''s':1)[note]:1,z:2);")
    inputs("newick_repeated_label", NEWICK, b"((a:1,a:1):1,d:2);")
    inputs("newick_pair", NEWICK_PAIR, newick + b"\0((a:1,c:1):1,(b:1,d:1):1);")
    inputs("newick_pair_labels", NEWICK_PAIR, newick + b"\0((d:1,c:1):1,(b:1,a:1):1);\0d\nc\nb\na\n")
    inputs("newick_pair_other_labels", NEWICK_PAIR, newick + b"\0((a:1,e:1):1,(b:1,d:1):1);")


if __name__ == "__main__":
    list_seeds()
    format_seeds()
    dendrogram_seeds()
    inputs_seeds()
