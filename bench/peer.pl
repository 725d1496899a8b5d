#!/usr/bin/perl
# The same conversion as identstrip, written the way a script would do it, so
# that the benchmark has a peer to compare with: perl peer.pl IN OUT
#
# A line ends at CR LF or at byte 26; byte 26 where a line would begin ends
# the text. Tabs go to stops of 8, a line is cut at 5012 characters, a line
# starting "!!> IDENT" loses everything up to its first comma (and is dropped
# without one), trailing blanks go, and every line ends in CR LF.
use strict;
use warnings;

my $CAPACITY = 5012;

@ARGV == 2 or die "usage: $0 IN OUT\n";
my ($in_path, $out_path) = @ARGV;
open(my $in, '<:raw', $in_path) or die "$in_path: $!\n";
open(my $out, '>:raw', $out_path) or die "$out_path: $!\n";

sub convert_line {
    my ($line) = @_;
    if (index($line, "\t") >= 0) {
        my @pieces = split /\t/, $line, -1;
        $line = shift @pieces;
        for my $piece (@pieces) {
            last if length($line) >= $CAPACITY;
            $line .= ' ' x (8 - length($line) % 8) . $piece;
        }
    }
    substr($line, $CAPACITY) = '' if length($line) > $CAPACITY;
    if (substr($line, 0, 9) eq '!!> IDENT') {
        my $comma = index($line, ',');
        return if $comma < 0;
        $line = '!!> ' . substr($line, $comma + 1);
    }
    $line =~ s/ +\z//;
    print {$out} $line, "\r\n";
}

{
    local $/ = "\r\n";
    RECORD: while (my $record = <$in>) {
        my $terminated = $record =~ s/\r\n\z//;
        if (index($record, "\x1a") < 0) {
            convert_line($record);
            next;
        }
        # Byte 26 ends a line; where a line would begin, it ends the text.
        my @lines = split /\x1a/, $record, -1;
        for my $i (0 .. $#lines) {
            if ($lines[$i] eq '') {
                last RECORD if $i < $#lines;    # a 26 where a line begins
                next RECORD unless $terminated; # the 26 was the file's last byte
            }
            convert_line($lines[$i]);
        }
    }
}
close($out) or die "$out_path: $!\n";
