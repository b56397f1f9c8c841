# The limits every libFuzzer run of the fuzz scripts uses: a run, a replay and a merge must agree
# on what is too slow, too large or too long for an input.
FUZZ_LIMITS=(-timeout=25 -rss_limit_mb=4096 -max_len=1048576)
