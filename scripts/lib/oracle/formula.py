"""Reads a formula the program printed and evaluates it exactly, without eval: Python's own
parser gives the tree, and only numbers, names, + - * / ^ (a power) and parentheses pass."""

import ast
import re
from fractions import Fraction


class FormulaError(Exception):
    """Not a plain infix formula, or a name the network does not have."""


class Undefined(Exception):
    """The formula divides by zero at these values."""


_ALLOWED = re.compile(r"^[A-Za-z0-9_.+\-*/^() \t]*$")


def evaluate(text, values):
    """The formula's exact value with symbols from values ({name: Fraction})."""
    if not isinstance(text, str) or not text.strip():
        raise FormulaError("empty or not a text")
    if not _ALLOWED.match(text) or "**" in text:
        raise FormulaError("characters outside + - * / ^ ( ), numbers and names")
    source = text.replace("^", "**")
    try:
        tree = ast.parse(source, mode="eval")
    except SyntaxError as e:
        raise FormulaError(f"does not parse: {e.msg}") from None

    def ev(node):
        if isinstance(node, ast.Expression):
            return ev(node.body)
        if isinstance(node, ast.BinOp):
            left, right = ev(node.left), ev(node.right)
            if isinstance(node.op, ast.Add):
                return left + right
            if isinstance(node.op, ast.Sub):
                return left - right
            if isinstance(node.op, ast.Mult):
                return left * right
            if isinstance(node.op, ast.Div):
                if right == 0:
                    raise Undefined()
                return left / right
            if isinstance(node.op, ast.Pow):
                if right.denominator != 1 or abs(right) > 64:
                    raise FormulaError(f"power {right} is not a small integer")
                if left == 0 and right < 0:
                    raise Undefined()
                return left ** int(right)
            raise FormulaError(f"operator {type(node.op).__name__}")
        if isinstance(node, ast.UnaryOp) and isinstance(node.op, (ast.USub, ast.UAdd)):
            x = ev(node.operand)
            return -x if isinstance(node.op, ast.USub) else x
        if isinstance(node, ast.Constant) and type(node.value) in (int, float):
            literal = ast.get_source_segment(source, node)
            try:
                return Fraction(literal)
            except ValueError:
                raise FormulaError(f"number {literal!r}") from None
        if isinstance(node, ast.Name):
            if node.id not in values:
                raise FormulaError(f"unknown name {node.id!r}")
            return Fraction(values[node.id])
        raise FormulaError(f"{type(node).__name__} is not plain infix")

    return ev(tree)
