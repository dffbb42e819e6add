"""Building blocks of data/generate.py."""
