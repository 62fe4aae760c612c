#!/usr/bin/perl
# A Palm database as Debian's Palm::PDB reads it, independently of the programs' own
# reader: its name, type and creator, then each record's bytes in hex, one per line.
use strict;
use warnings;
use Palm::PDB;
use Palm::Raw;

my $pdb = Palm::PDB->new;
$pdb->Load($ARGV[0]) or die "cannot read $ARGV[0]\n";
print "name $pdb->{name}\n";
print "type $pdb->{type}\n";
print "creator $pdb->{creator}\n";
print "record ", unpack("H*", $_->{data}), "\n" for @{ $pdb->{records} };
